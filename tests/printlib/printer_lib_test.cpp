// The Print_* commands under Wine against the CUPS PDF printer "PDF" (this machine's default
// printer). A missing printer is a broken test machine: the tests fail, they do not skip.
#include "printlib/printer_lib_win.h"

#include <gtest/gtest.h>
#include <winternl.h>

#include <cstdint>

#include "printlib/image_store_win.h"
#include "printlib/print_math.h"

namespace {

constexpr char kPrinter[] = "PDF";
constexpr char kEnvelope[] = "Orientation=2,Papersize=20";

class PrinterLib : public ::testing::Test {
 protected:
  void SetUp() override { Print_Init(); }
  void TearDown() override {
    Print_StopPreview();
    Print_Free();
  }
};

TEST_F(PrinterLib, ListsTheDefaultPdfPrinter) {
  EXPECT_EQ(Print_CountPrinters(), 0);
  ASSERT_EQ(Print_EnumPrinters(6), 1);
  const int count = Print_CountPrinters();
  bool found = false;
  for (int i = 0; i < count; ++i) found = found || Print_GetPrinterName(i) == kPrinter;
  EXPECT_TRUE(found) << "printer \"PDF\" not listed; is cupsd running?";
  EXPECT_EQ(Print_GetPrinterName(count), "");
  EXPECT_EQ(Print_GetPrinterName(-1), "");
  EXPECT_EQ(Print_GetDefaultPrinter(), kPrinter);
}

TEST_F(PrinterLib, OpensTheDefaultPrinterLandscapeWithKeywordSettings) {
  HDC dc = Print_OpenPrinter("", kEnvelope, 0);
  ASSERT_NE(dc, nullptr);
  EXPECT_EQ(Print_CurrentContext(), dc);
  EXPECT_GT(Print_GetDeviceCaps(HORZRES), Print_GetDeviceCaps(VERTRES));  // landscape
  EXPECT_GT(Print_GetDeviceCaps(HORZSIZE), 200);                          // No. 10: 241 mm
  EXPECT_LT(Print_GetDeviceCaps(VERTSIZE), 110);                          // by 105 mm
  // A fresh context carries the stored drawing state.
  EXPECT_EQ(GetBkMode(dc), TRANSPARENT);
  EXPECT_EQ(GetTextAlign(dc), 0u);
  LOGBRUSH brush{};
  ASSERT_TRUE(GetObjectA(GetCurrentObject(dc, OBJ_BRUSH), sizeof brush, &brush));
  EXPECT_EQ(brush.lbColor, 0u);
  EXTLOGPEN pen{};
  ASSERT_TRUE(GetObjectA(GetCurrentObject(dc, OBJ_PEN), sizeof pen, &pen));
  EXPECT_EQ(pen.elpPenStyle, 0x12200u);
  EXPECT_EQ(pen.elpWidth,
            static_cast<DWORD>(qr::print::UnitToDevice(2, 0.2f, GetDeviceCaps(dc, LOGPIXELSX))));
}

TEST_F(PrinterLib, KeepsSettingsOfAnEarlierOpen) {
  ASSERT_NE(Print_OpenPrinter(kPrinter, "ORIENTATION=1,PAPERSIZE=20", 0), nullptr);
  EXPECT_LT(Print_GetDeviceCaps(HORZRES), Print_GetDeviceCaps(VERTRES));
  ASSERT_NE(Print_OpenPrinter(kPrinter, "ORIENTATION=2", 0), nullptr);
  EXPECT_GT(Print_GetDeviceCaps(HORZRES), Print_GetDeviceCaps(VERTRES));
  ASSERT_NE(Print_OpenPrinter(kPrinter, "", 0), nullptr);  // same DEVMODE, still landscape
  EXPECT_GT(Print_GetDeviceCaps(HORZRES), Print_GetDeviceCaps(VERTRES));
  ASSERT_NE(Print_OpenPrinter(kPrinter, "orientation=1", 0), nullptr);
  EXPECT_LT(Print_GetDeviceCaps(HORZRES), Print_GetDeviceCaps(VERTRES));
}

TEST_F(PrinterLib, UnknownPrinterFailsAndLeavesNoContext) {
  ASSERT_NE(Print_OpenPrinter(kPrinter, kEnvelope, 0), nullptr);
  EXPECT_EQ(Print_OpenPrinter("No Such Printer 42", kEnvelope, 0), nullptr);
  EXPECT_EQ(Print_CurrentContext(), nullptr);
  EXPECT_EQ(Print_StartPrinting("nothing", ""), 0);
  EXPECT_EQ(Print_StopPrinting(), 0);
}

TEST_F(PrinterLib, UnitsFollowTheDeviceResolution) {
  ASSERT_NE(Print_OpenPrinter(kPrinter, kEnvelope, 0), nullptr);
  const int dpi = Print_GetDeviceCaps(LOGPIXELSX);
  ASSERT_GT(dpi, 0);
  EXPECT_EQ(Print_SetUnit(1), 2);  // millimetres after Print_Init
  EXPECT_EQ(Print_UnitToDeviceX(10.0f), dpi);
  EXPECT_EQ(Print_SetUnit(2), 1);
  EXPECT_EQ(Print_UnitToDeviceY(25.4f), Print_GetDeviceCaps(LOGPIXELSY));
  EXPECT_NEAR(Print_DeviceToUnitX(dpi), 25.4f, 1e-4f);
  EXPECT_EQ(Print_SetUnit(5), 2);
  EXPECT_EQ(Print_UnitToDeviceX(2.5f), 2);
  EXPECT_EQ(Print_UnitToDeviceX(3.5f), 4);
  EXPECT_EQ(Print_DeviceToUnitY(7), 7.0f);
  EXPECT_EQ(Print_SetUnit(0), 5);
  // The unit survives opening the printer again.
  ASSERT_NE(Print_OpenPrinter(kPrinter, kEnvelope, 0), nullptr);
  EXPECT_EQ(Print_SetUnit(0), 0);
}

TEST_F(PrinterLib, FontHeightsFollowTheResolution) {
  ASSERT_NE(Print_OpenPrinter(kPrinter, kEnvelope, 0), nullptr);
  ASSERT_EQ(Print_GetDeviceCaps(LOGPIXELSY), 300);
  HFONT first = Print_SetFont("Arial", 12, 0x300);
  ASSERT_NE(first, nullptr);
  LOGFONTA lf{};
  ASSERT_TRUE(GetObjectA(first, sizeof lf, &lf));
  EXPECT_EQ(lf.lfHeight, 50);
  EXPECT_EQ(lf.lfWeight, 700);
  EXPECT_EQ(lf.lfItalic, 1);
  EXPECT_EQ(lf.lfCharSet, DEFAULT_CHARSET);
  EXPECT_EQ(GetCurrentObject(Print_CurrentContext(), OBJ_FONT), first);

  const std::string longFace(40, 'F');
  HFONT second = Print_SetFont(longFace, 10, 0);
  ASSERT_NE(second, nullptr);
  ASSERT_TRUE(GetObjectA(second, sizeof lf, &lf));
  EXPECT_EQ(std::string(lf.lfFaceName), std::string(31, 'F'));
  EXPECT_EQ(lf.lfHeight, 41);
  EXPECT_EQ(GetObjectType(first), 0u) << "the replaced font was not deleted";

  // During a preview the font scales to the preview image: 684 pixels across 241 mm is 72 dpi.
  ASSERT_NE(Print_StartPreview(684), nullptr);
  const int previewDpi = Print_GetDeviceCaps(LOGPIXELSY);
  HFONT third = Print_SetFont("Arial", 12, 0);
  ASSERT_TRUE(GetObjectA(third, sizeof lf, &lf));
  EXPECT_EQ(lf.lfHeight, 12 * previewDpi / 72);
}

TEST_F(PrinterLib, MeasuringTextDrawsNothing) {
  ASSERT_NE(Print_OpenPrinter(kPrinter, kEnvelope, 0), nullptr);
  ASSERT_NE(Print_StartPreview(684), nullptr);
  Print_SetUnit(0);
  Print_SetFont("Arial", 20, 0);
  float left = -1, top = -1, width = -1, height = -1;
  const float one = Print_Text(10, 10, 0, 0, "Hi", DT_CALCRECT, &left, &top, &width, &height);
  const float two =
      Print_Text(10, 10, 0, 0, "Hi\r\nLonger line", DT_CALCRECT, &left, &top, &width, &height);
  EXPECT_EQ(left, 10.0f);
  EXPECT_EQ(top, 10.0f);
  EXPECT_GT(one, 0.0f);
  EXPECT_EQ(two, 2 * one);
  EXPECT_EQ(height, two);
  float longerWidth = 0;
  Print_Text(10, 10, 0, 0, "Longer line", DT_CALCRECT, nullptr, nullptr, &longerWidth, nullptr);
  EXPECT_EQ(width, longerWidth);
  const auto pixels = Image_Pixels(Print_GetPreviewImage(0));
  ASSERT_TRUE(pixels.has_value());
  for (std::uint8_t b : pixels->rgb) ASSERT_EQ(b, 255) << "measuring drew on the page";

  // The six-argument form stores nothing, and draws.
  EXPECT_EQ(Print_Text(10, 10, 400, 100, "Hi", 0), one);
  const auto drawn = Image_Pixels(Print_GetPreviewImage(0));
  bool ink = false;
  for (std::uint8_t b : drawn->rgb) ink = ink || b < 128;
  EXPECT_TRUE(ink);
}

TEST_F(PrinterLib, PreviewIsAWhitePageOfThePrintersProportions) {
  EXPECT_EQ(Print_GetPreviewImage(0), 0);  // before any preview
  HDC printer = Print_OpenPrinter(kPrinter, kEnvelope, 0);
  ASSERT_NE(printer, nullptr);
  const int horz = Print_GetDeviceCaps(HORZRES), vert = Print_GetDeviceCaps(VERTRES);
  const int horzMm = Print_GetDeviceCaps(HORZSIZE), vertMm = Print_GetDeviceCaps(VERTSIZE);
  const int caps = Print_GetDeviceCaps(RASTERCAPS);

  HDC preview = Print_StartPreview(684);
  ASSERT_NE(preview, nullptr);
  EXPECT_EQ(Print_CurrentContext(), preview);
  const int image = Print_GetPreviewImage(0);
  ASSERT_NE(image, 0);
  EXPECT_EQ(Print_GetPreviewImage(1), 0);
  EXPECT_EQ(Image_Width(image), 684);
  EXPECT_EQ(Image_Height(image), 684 * vert / horz);
  EXPECT_EQ(Image_Depth(image), 24);
  EXPECT_EQ(Print_GetDeviceCaps(HORZRES), 684);
  EXPECT_EQ(Print_GetDeviceCaps(VERTRES), Image_Height(image));
  EXPECT_EQ(Print_GetDeviceCaps(LOGPIXELSX), qr::print::PreviewDpi(684, horzMm));
  EXPECT_EQ(Print_GetDeviceCaps(LOGPIXELSY), qr::print::PreviewDpi(Image_Height(image), vertMm));
  EXPECT_EQ(Print_GetDeviceCaps(RASTERCAPS), caps);  // other indexes answer for the printer
  EXPECT_EQ(Print_GetDeviceCaps(HORZSIZE), horzMm);
  EXPECT_EQ(GetBkMode(preview), TRANSPARENT);  // drawing state put on the image's context
  const auto pixels = Image_Pixels(image);
  ASSERT_TRUE(pixels.has_value());
  for (std::uint8_t b : pixels->rgb) ASSERT_EQ(b, 255);

  EXPECT_EQ(Print_StopPreview(), printer);
  EXPECT_EQ(Print_CurrentContext(), printer);
  EXPECT_EQ(Print_StopPreview(), nullptr);
  EXPECT_EQ(Print_CurrentContext(), printer);
  EXPECT_EQ(Print_GetPreviewImage(0), image);  // still there after the stop
  EXPECT_EQ(Print_GetDeviceCaps(HORZRES), horz);

  ASSERT_NE(Print_StartPreview(342), nullptr);
  EXPECT_FALSE(Image_IsValid(image)) << "the first preview's image was not freed";
  EXPECT_EQ(Image_Width(Print_GetPreviewImage(0)), 342);
}

TEST_F(PrinterLib, PreviewFailsWithoutAPrinter) {
  EXPECT_EQ(Print_StartPreview(684), nullptr);
  EXPECT_EQ(Print_CurrentContext(), nullptr);
  EXPECT_EQ(Print_GetPreviewImage(0), 0);
  EXPECT_EQ(Print_StopPreview(), nullptr);
}

// Live GDI objects of this process. Wine's GetGuiResources answers 0, so under Wine the
// process's entries of the shared GDI handle table (PEB::GdiSharedHandleTable) are counted.
int GdiObjectCount() {
  const DWORD reported = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
  if (reported != 0) return static_cast<int>(reported);
  struct Entry {
    std::uint64_t object;
    std::uint32_t owner;
    std::uint16_t unique;
    std::uint8_t type, flags;
    std::uint64_t user;
  };
  static_assert(sizeof(Entry) == 24);
  using QueryFn = LONG(WINAPI*)(HANDLE, PROCESSINFOCLASS, void*, ULONG, ULONG*);
  const auto query = reinterpret_cast<QueryFn>(reinterpret_cast<void*>(
      GetProcAddress(GetModuleHandleA("ntdll.dll"), "NtQueryInformationProcess")));
  PROCESS_BASIC_INFORMATION info{};
  if (!query || query(GetCurrentProcess(), ProcessBasicInformation, &info, sizeof info, nullptr)) {
    return -1;
  }
  const auto* peb = reinterpret_cast<const char*>(info.PebBaseAddress);
  const auto* table = *reinterpret_cast<Entry* const*>(peb + 0xF8);  // GdiSharedHandleTable
  if (!table) return -1;
  int count = 0;
  for (int i = 0; i < 0x10000; ++i) count += table[i].type != 0 && table[i].object != 0;
  return count;
}

TEST_F(PrinterLib, RepeatedJobsLeaveNoGdiObjectsBehind) {
  const bool underWine = GetProcAddress(GetModuleHandleA("ntdll.dll"), "wine_get_version");
  if (underWine) {
    ASSERT_GT(GdiObjectCount(), 0);
  }
  qr::image::RgbImage logo;
  logo.width = logo.height = 8;
  logo.rgb.assign(8 * 8 * 3, 90);
  const int image = Image_FromPixels(logo);
  auto round = [&](int i) {
    ASSERT_NE(Print_OpenPrinter(kPrinter, kEnvelope, 0), nullptr) << i;
    Print_SetUnit(0);
    ASSERT_NE(Print_StartPreview(684), nullptr) << i;
    Print_SetFont("Arial", 12, 0x100);
    float w = 0, h = 0;
    Print_Text(20, 20, 0, 0, "Sender\r\nStreet", DT_CALCRECT, nullptr, nullptr, &w, &h);
    Print_Text(20, 20, w, h, "Sender\r\nStreet", 0);
    Print_SetFont("Times New Roman", 14, 0);
    Print_OverrideRasterCaps(i % 3 == 0 ? 0x800 : i % 3 == 1 ? 0x80 : 0x1);
    Print_Image(image, 5, 5, 30, 20);
    Print_OverrideRasterCaps(-1);
    ASSERT_NE(Print_StopPreview(), nullptr) << i;
  };
  for (int i = 0; i < 3; ++i) round(i);  // GDI makes some stock objects on first use
  Print_Free();
  const int before = GdiObjectCount();
  const int imagesBefore = Image_Count();
  for (int i = 0; i < 500 && !HasFatalFailure(); ++i) round(i);
  Print_Free();
  EXPECT_EQ(GdiObjectCount(), before);
  EXPECT_EQ(Image_Count(), imagesBefore);
  Image_Free(image);
}

}  // namespace
