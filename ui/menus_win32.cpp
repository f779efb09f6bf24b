#include "ui/menus_win32.h"

#include "platform/scoped_win32.h"
#include "platform/text_win32.h"

namespace korvane::ui {

HMENU BuildMenu(std::span<const MenuItem> items, const MenuState& state) {
  HMENU menu = CreatePopupMenu();
  if (!menu)
    return nullptr;
  for (const MenuItem& item : items) {
    if (!Holds(item.shown_when, state))
      continue;
    BOOL added = FALSE;
    if (!item.text) {
      added = AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    } else {
      const UINT flags = MF_STRING | (Holds(item.needs, state) ? MF_ENABLED : MF_GRAYED) |
                         (Checked(item, state) ? MF_CHECKED : MF_UNCHECKED);
      const UINT id = static_cast<UINT>(CommandId(item.command));
      added = AppendMenuW(menu, flags, id, Widen(text::Tr(*ItemText(item, state))).c_str());
      if (added && item.mark.radio) {
        // AppendMenuW knows no round mark; the item's type takes it.
        MENUITEMINFOW radio{};
        radio.cbSize = sizeof radio;
        radio.fMask = MIIM_FTYPE;
        radio.fType = MFT_STRING | MFT_RADIOCHECK;
        added = SetMenuItemInfoW(menu, id, FALSE, &radio);
      }
    }
    if (!added) {
      DestroyMenu(menu);
      return nullptr;
    }
  }
  return menu;
}

int ChooseCommand(std::span<const MenuItem> items, const MenuState& state, HWND owner, POINT at) {
  const MenuHandle menu(BuildMenu(items, state));
  if (!menu)
    return 0;
  const UINT flags = TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON | TPM_RETURNCMD | TPM_NONOTIFY;
  return TrackPopupMenu(menu.get(), flags, at.x, at.y, 0, owner, nullptr);
}

}  // namespace korvane::ui
