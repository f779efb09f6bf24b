#include "ui/language_menu_win32.h"

#include "platform/message_box_win32.h"
#include "platform/scoped_win32.h"
#include "platform/text_win32.h"
#include "text/strings.h"
#include "ui/remembered_win32.h"

namespace korvane::ui {
namespace {

// System commands keep their low four bits for the system, and stay below SC_SIZE (0xF000).
constexpr UINT kFirstCommand = 0x1000;
constexpr UINT kCommandStep = 0x10;

UINT CommandOf(std::size_t index) {
  return kFirstCommand + static_cast<UINT>(index) * kCommandStep;
}

void CheckLanguage(HMENU menu, text::Language chosen) {
  const std::span<const text::Language> languages = text::Languages();
  for (std::size_t i = 0; i < languages.size(); ++i) {
    if (languages[i] == chosen)
      CheckMenuRadioItem(menu, CommandOf(0), CommandOf(languages.size() - 1), CommandOf(i),
                         MF_BYCOMMAND);
  }
}

}  // namespace

void AddLanguageMenu(HWND window) {
  const HMENU system = GetSystemMenu(window, FALSE);
  HMENU languages = CreatePopupMenu();
  if (!system || !languages)
    return;
  const std::span<const text::Language> all = text::Languages();
  for (std::size_t i = 0; i < all.size(); ++i) {
    AppendMenuW(languages, MF_STRING, CommandOf(i),
                Widen(text::Tr(all[i], text::Id::kLanguageName)).c_str());
  }
  CheckLanguage(languages, RememberedLanguage().value_or(text::CurrentLanguage()));
  AppendMenuW(system, MF_SEPARATOR, 0, nullptr);
  // The system menu owns the submenu from here on, and destroys it with the window.
  if (!AppendMenuW(system, MF_POPUP, reinterpret_cast<UINT_PTR>(languages),
                   Widen(text::Tr(text::Id::kMenuLanguage)).c_str()))
    DestroyMenu(languages);
}

bool OnLanguageCommand(HWND window, WPARAM command) {
  const std::span<const text::Language> all = text::Languages();
  const UINT id = static_cast<UINT>(command & 0xFFF0);
  if (id < CommandOf(0) || id > CommandOf(all.size() - 1) || (id - kFirstCommand) % kCommandStep)
    return false;
  const text::Language chosen = all[(id - kFirstCommand) / kCommandStep];
  RememberLanguage(chosen);
  const HMENU system = GetSystemMenu(window, FALSE);
  for (int i = GetMenuItemCount(system) - 1; i >= 0; --i) {
    if (const HMENU sub = GetSubMenu(system, i))
      CheckLanguage(sub, chosen);
  }
  ShowInformation(window, text::Tr(chosen, text::Id::kLanguageNextStart),
                  text::Tr(chosen, text::Id::kAppTitle));
  return true;
}

}  // namespace korvane::ui
