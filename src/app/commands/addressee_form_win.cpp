#include "app/commands/addressee_form_win.h"

#include "app/event_rules.h"

namespace qr {

AddresseeForm AddresseeFormFromWindow(const Shell& shell) {
  return {ControlText(shell, ctl::kAddresseeName),  ControlText(shell, ctl::kAddresseeStreet),
          ControlText(shell, ctl::kAddresseeSuite), ControlText(shell, ctl::kAddresseeCity),
          ControlText(shell, ctl::kAddresseeState), ControlText(shell, ctl::kAddresseeZip)};
}

// The Name goes last, so that its change event sees the other five fields as shown.
void ShowAddresseeForm(const Shell& shell, const AddresseeForm& form) {
  SetControlText(shell, ctl::kAddresseeStreet, form.street);
  SetControlText(shell, ctl::kAddresseeSuite, form.suite);
  SetControlText(shell, ctl::kAddresseeCity, form.city);
  SetControlText(shell, ctl::kAddresseeState, form.state);
  SetControlText(shell, ctl::kAddresseeZip, form.zip);
  SetControlText(shell, ctl::kAddresseeName, form.name);
}

void EmptyAddresseeForm(const Shell& shell) { ShowAddresseeForm(shell, AddresseeForm{}); }

}  // namespace qr
