#pragma once

// The about dialog, once for both windows: its caption, its lines of text
// from top to bottom and its button, in design pixels at 96 dots per inch.

#include <array>
#include <string_view>

namespace brimlow {

struct TAboutLine {
  std::string_view name;  // the label's object name
  std::string_view text;  // UTF-8
  int left = 0;
  int top = 0;
  bool bold = false;
  int pixels = 13;  // the font's height
  int height = 16;
};

struct TAboutDesign {
  std::string_view caption = "О программе";
  int clientWidth = 290;
  int clientHeight = 171;
  // The program's icon, at the top left; the title stands beside it.
  int iconLeft = 12;
  int iconTop = 8;
  int iconSize = 33;
  std::array<TAboutLine, 5> lines{{
      {"titleLabel", "Brimlow", 52, 10, true, 22, 28},
      {"forLabel", "для Tarvolt", 12, 46, true},
      {"versionLabel", "Brimlow 1.0", 12, 64},
      {"makerRights", "Tarvolt © Kelvane", 12, 82},
      {"authorRights", "Brimlow © авторы Brimlow.", 12, 100},
  }};
  int textRight = 280;
  std::string_view closeCaption = "Закрыть";
  int buttonWidth = 75;
  int buttonHeight = 25;
  int buttonTop = 136;
};

inline constexpr TAboutDesign kAboutDesign{};

}  // namespace brimlow
