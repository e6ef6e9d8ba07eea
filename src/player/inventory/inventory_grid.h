// Where the item icons sit in the inventory panel: a grid of 32-pixel cells spaced by the
// project's item gap (across) and margin (down), as many columns as fit the frame picture's
// width. All results in twips.
#pragma once

#include <cstdint>

namespace sl {

struct InventoryGrid {
  static constexpr double kCell = 480;  // one 32-pixel icon

  // From the frame picture's width and the two spacings, all in pixels.
  InventoryGrid(std::int32_t pictureWidth, std::int32_t itemGap, std::int32_t margin);

  int Columns() const { return columns_; }
  // Column and row of item k (from 1).
  int Column(int k) const;
  int Row(int k) const;
  double Left(int k) const;
  double Top(int k) const;
  // The panel height that shows n items (n >= 1).
  double PanelHeight(int n) const;

 private:
  double sx_;
  double sy_;
  int columns_;
};

}  // namespace sl
