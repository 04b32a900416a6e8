#include "envelope/logo.h"

#include <array>
#include <cmath>

namespace qr {

std::string_view LogoExtension(std::string_view path) {
  const std::size_t name_start = path.find_last_of("\\/:");
  const std::string_view name =
      name_start == std::string_view::npos ? path : path.substr(name_start + 1);
  const std::size_t dot = name.rfind('.');
  if (dot == std::string_view::npos) return {};
  return name.substr(dot + 1);
}

bool IsAcceptedLogoExtension(std::string_view extension) {
  static constexpr std::array<std::string_view, 5> kAccepted = {"jpg", "bmp", "png", "tiff", "tif"};
  for (std::string_view accepted : kAccepted) {
    if (extension == accepted) return true;
  }
  return false;
}

std::string PlaceholderLogoPath(std::string_view start_folder) {
  std::string path(start_folder);
  path += "\\NoImage.bmp";
  return path;
}

float LogoAspect(std::int32_t width, std::int32_t height) {
  if (width <= 0 || height <= 0) return 0.0f;
  return static_cast<float>(height) / static_cast<float>(width);
}

std::int32_t ScaledLogoHeight(float aspect) {
  const float height = aspect * static_cast<float>(kLogoWidth);
  if (!std::isfinite(height) || height < 1.0f) return 1;
  if (height >= 2147483648.0f) return 2147483647;
  return static_cast<std::int32_t>(height);
}

LogoDecision DecideChosenLogo(std::string_view chosen_path, std::string_view placeholder) {
  const std::string_view extension = LogoExtension(chosen_path);
  if (!chosen_path.empty() && IsAcceptedLogoExtension(extension)) {
    return LogoDecision{std::string(chosen_path), std::string(chosen_path), true, false};
  }
  return LogoDecision{std::string(placeholder), std::string(placeholder), false,
                      !extension.empty()};
}

LogoDecision DecideStartupLogo(std::string_view stored_file_name, std::string_view placeholder) {
  if (!stored_file_name.empty() && stored_file_name != placeholder) {
    return LogoDecision{std::string(stored_file_name), std::string(stored_file_name), true, false};
  }
  return LogoDecision{std::string(placeholder), std::string(placeholder), false, false};
}

LogoDecision FallbackAfterFailedLoad(const LogoDecision& decision, std::string_view placeholder) {
  return LogoDecision{decision.fileName, std::string(placeholder), false, false};
}

}  // namespace qr
