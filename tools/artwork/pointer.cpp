#include "pointer.h"

#include <QPainter>
#include <algorithm>
#include <cstring>
#include <iterator>
#include <vector>

namespace artwork {

namespace {

// Outline of a closed hand seen from the back: four curled fingers on top,
// the thumb folded in on the left. The inside is filled white below.
const char *const kHand[] = {
    "....##.##.##......",
    "...#..#..#..###...",
    "...#..#..#..#..#..",
    "...#..#..#..#..#..",
    ".###..#..#..#..#..",
    "#..#...........#..",
    "#..............#..",
    "#..............#..",
    ".#.............#..",
    "..#...........#...",
    "...#..........#...",
    "....#........#....",
    "....#........#....",
    "....##########....",
};

} // namespace

QImage renderDragPointer()
{
    const int rows = int(std::size(kHand));
    const int cols = int(std::strlen(kHand[0]));
    // 0 outside, 1 outline, 2 inside.
    std::vector<int> cell(rows * cols, 0);
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < cols; ++c)
            if (kHand[r][c] == '#')
                cell[r * cols + c] = 1;
    // Fill the inside: every blank cell not reachable from the border.
    std::vector<int> outside(rows * cols, 0);
    std::vector<int> stack;
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < cols; ++c)
            if ((r == 0 || c == 0 || r == rows - 1 || c == cols - 1) && !cell[r * cols + c]) {
                outside[r * cols + c] = 1;
                stack.push_back(r * cols + c);
            }
    while (!stack.empty()) {
        const int i = stack.back();
        stack.pop_back();
        const int r = i / cols, c = i % cols;
        const int next[4][2] = {{r - 1, c}, {r + 1, c}, {r, c - 1}, {r, c + 1}};
        for (const auto &n : next) {
            if (n[0] < 0 || n[1] < 0 || n[0] >= rows || n[1] >= cols)
                continue;
            const int j = n[0] * cols + n[1];
            if (!cell[j] && !outside[j]) {
                outside[j] = 1;
                stack.push_back(j);
            }
        }
    }

    QImage img(32, 32, QImage::Format_RGB32);
    img.fill(pointerKeyColour());
    QPainter p(&img);
    // Centre what is drawn, not the pattern's blank margins, on the hot spot.
    int left = cols, right = -1, top = rows, bottom = -1;
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < cols; ++c)
            if (!outside[r * cols + c]) {
                left = std::min(left, c);
                right = std::max(right, c);
                top = std::min(top, r);
                bottom = std::max(bottom, r);
            }
    const int x0 = 16 - (left + right + 1) / 2, y0 = 16 - (top + bottom + 1) / 2;
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < cols; ++c) {
            const int i = r * cols + c;
            if (cell[i])
                p.fillRect(x0 + c, y0 + r, 1, 1, QColor(0, 0, 0));
            else if (!outside[i])
                p.fillRect(x0 + c, y0 + r, 1, 1, QColor(255, 255, 255));
        }
    return img;
}

} // namespace artwork
