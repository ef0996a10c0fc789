#include "display/rgb16.h"

int PackRgb555(int red, int green, int blue) {
  return (((red >> 3) & 31) << 10) + (((green >> 3) & 31) << 5) + ((blue >> 3) & 31);
}

int PackRgb565(int red, int green, int blue) {
  return (((red >> 3) & 31) << 11) + (((green >> 2) & 63) << 5) + ((blue >> 3) & 31);
}
