// The inventory grid's arithmetic.
#include "player/inventory/inventory_grid.h"
#include "ui/draw/units.h"

#include <cmath>

namespace sl {

InventoryGrid::InventoryGrid(std::int32_t pictureWidth, std::int32_t itemGap, std::int32_t margin)
    : sx_(draw::PixelsToTwips(itemGap)), sy_(draw::PixelsToTwips(margin)) {
  double step = sx_ + kCell;
  double fit = step > 0 ? std::floor(draw::PixelsToTwips(pictureWidth) / step) : 0;
  // A picture narrower than one cell (or a negative gap) still shows one column, so that every
  // item has a place and no division by zero can happen.
  columns_ = fit >= 1 ? static_cast<int>(std::fmin(fit, 32767)) : 1;
}

int InventoryGrid::Column(int k) const {
  return (k - 1) % columns_;
}

int InventoryGrid::Row(int k) const {
  return (k - 1) / columns_;
}

double InventoryGrid::Left(int k) const {
  return sx_ + (sx_ + kCell) * Column(k);
}

double InventoryGrid::Top(int k) const {
  return sy_ + (sy_ + kCell) * Row(k);
}

double InventoryGrid::PanelHeight(int n) const {
  return sy_ + (sy_ + kCell) * (Row(n) + 1);
}

}  // namespace sl
