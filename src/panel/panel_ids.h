#pragma once
// The panel's buttons (indices into img_ico) and pages (current_page), by
// name. A sub-page's id is the index of the button that opens it, so a
// button's index says which page it leads to.

namespace buttons {

inline constexpr int tray = 0;
inline constexpr int minimise = 1;
inline constexpr int close = 2;
inline constexpr int about = 3;
// 4 and 5 name no button.
inline constexpr int sys_reset = 6;
inline constexpr int zoom = 7;
inline constexpr int magnifier = 8;
inline constexpr int scan = 9;
inline constexpr int options = 10;
inline constexpr int position = 11;  // move or pan
inline constexpr int size = 12;      // size or expand
inline constexpr int output = 13;
inline constexpr int freeze = 14;
inline constexpr int video = 15;
inline constexpr int back = 16;      // return to the main page
inline constexpr int up = 17;
inline constexpr int left = 18;
inline constexpr int down = 19;
inline constexpr int right = 20;
inline constexpr int centre = 21;    // the arrows' reset
inline constexpr int refresh = 22;
inline constexpr int position_tab = 23;
inline constexpr int size_tab = 24;
inline constexpr int video_reset = 25;
inline constexpr int power = 26;
inline constexpr int aspect = 27;
inline constexpr int com1 = 28;
inline constexpr int com2 = 29;
inline constexpr int first_zoom_area = 30;  // zoom area 1; area n is 29 + n
inline constexpr int last_zoom_area = 38;
inline constexpr int count = 39;
inline constexpr int none = 99;

// The arrows that act while held: up, left, down, right.
constexpr bool is_arrow(int ind) { return ind >= up && ind <= right; }
constexpr bool is_zoom_area(int ind) { return ind >= first_zoom_area && ind <= last_zoom_area; }
// COM1 or COM2's button.
constexpr int com_button(int com) { return com == 2 ? com2 : com1; }
// The zoom area button of area 1 to 9.
constexpr int zoom_area_button(int area) { return first_zoom_area + area - 1; }

}  // namespace buttons

namespace pages {

inline constexpr int main = 99;
inline constexpr int about = buttons::about;
inline constexpr int reset = buttons::sys_reset;   // while a system reset runs
inline constexpr int zoom = buttons::zoom;
inline constexpr int magnifier = buttons::magnifier;  // the magnifier is open
inline constexpr int options = buttons::options;
inline constexpr int position = buttons::position;  // also opened by its tab
inline constexpr int size = buttons::size;
inline constexpr int video = buttons::video;

}  // namespace pages
