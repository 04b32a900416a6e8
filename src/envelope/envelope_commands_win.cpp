// The envelope commands of the main window. Printing, the preview, the font dialogs
// and the logo arrive with the envelope subsystem's window side.
#include "addressbook/book_form_win.h"
#include "app/shell_commands_win.h"

namespace qr {

void PrintCommand(Shell&) {}
void PrintPreviewCommand(Shell&) {}
void ChooseSenderFontCommand(Shell&) {}
void ChooseAddresseeFontCommand(Shell&) {}
void ChangeLogoCommand(Shell&) {}
void ShowLogo(Shell&) {}

}  // namespace qr
