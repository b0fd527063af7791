// Stratification and flooding: one colour painted over the 2D picture of the
// map, cell by cell, where the elevation grid meets a condition (an altitude
// band, or the connected area of the clicked cell's elevation). Both work on
// the current picture, whose pixels match the grid cells one to one (pixel
// row y shows grid row ubound2 - y), run as the long operation opdraw2d and
// end by asking whether to keep the colour.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

namespace zk {

class ElevGrid;

// Paints every cell whose elevation lies within lo..hi (metres), only inside
// the picture's selection when one is shown. Colour with red in the low byte.
void stratify(float lo_m, float hi_m, uint32_t colour);

// Paints the cells of the cursor cell's elevation connected to it (eight
// neighbours). The elevation grid is only read.
void flood(uint32_t colour);

// The sweep of the flooding, on its own. The area grows from the start cell
// row by row, back and forth inside a box around the cells found so far
// (kept within columns 1..ubound1 - 1 and rows 1..ubound2 - 1, so cells on
// the grid's border are painted but not grown from); it ends after two
// turns at the box's top or bottom without a new cell, or when `running`
// answers false. Visited cells are kept in a mask of its own, so the grid
// is never written and no elevation value is special.
struct FloodSteps {
    std::function<void(int32_t x, int32_t y)> paint;  // a cell joined the area
    std::function<void()> rowend;                     // a row was swept
    std::function<void(int32_t turns)> turn;          // a turn at the box's top or bottom
    std::function<bool()> running;                    // false stops the sweep
};
// The flooded cells (1), first index fastest; all 0 when the start cell is
// off the grid.
std::vector<uint8_t> floodarea(const ElevGrid &grid, int32_t cx, int32_t cy, const FloodSteps &steps = {});

}  // namespace zk
