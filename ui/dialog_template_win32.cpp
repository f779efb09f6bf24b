#include "ui/dialog_template_win32.h"

namespace korvane::ui {

DialogTemplate::DialogTemplate(DWORD style, short cx, short cy, std::wstring_view title) {
  Append(DLGTEMPLATE{style | DS_SETFONT, 0, 0, 0, 0, cx, cy});
  Append(WORD{0});  // no menu
  Append(WORD{0});  // the standard dialog class
  AppendString(title);
  Append(WORD{9});  // point size; the shell's dialog font maps to one that has the CJK glyphs
  AppendString(L"MS Shell Dlg");
}

void DialogTemplate::AddItem(DWORD style,
                             short x,
                             short y,
                             short cx,
                             short cy,
                             WORD id,
                             WORD atom,
                             std::wstring_view text) {
  Align();
  Append(DLGITEMTEMPLATE{style | WS_CHILD | WS_VISIBLE, 0, x, y, cx, cy, id});
  Append(WORD{0xFFFF});  // a predefined class, by atom
  Append(atom);
  AppendString(text);
  Append(WORD{0});  // no creation data
  ++reinterpret_cast<DLGTEMPLATE*>(bytes_.data())->cdit;
}

void DialogTemplate::AppendString(std::wstring_view s) {
  for (const wchar_t c : s)
    Append(static_cast<WORD>(c));
  Append(WORD{0});
}

void DialogTemplate::Align() {
  while (bytes_.size() % sizeof(DWORD) != 0)
    bytes_.push_back(0);
}

}  // namespace korvane::ui
