// The channels of a 32-bit premultiplied pixel as GDI stores it (0xAARRGGBB), for the drawing
// tests under Wine.
#ifndef PINDLE_TESTS_UIFRAMEWORK_PIXEL_CHANNELS_H_
#define PINDLE_TESTS_UIFRAMEWORK_PIXEL_CHANNELS_H_

#include <cstdint>

inline uint8_t Alpha(uint32_t pixel) {
  return static_cast<uint8_t>(pixel >> 24);
}
inline uint8_t Red(uint32_t pixel) {
  return static_cast<uint8_t>(pixel >> 16);
}
inline uint8_t Green(uint32_t pixel) {
  return static_cast<uint8_t>(pixel >> 8);
}
inline uint8_t Blue(uint32_t pixel) {
  return static_cast<uint8_t>(pixel);
}

#endif  // PINDLE_TESTS_UIFRAMEWORK_PIXEL_CHANNELS_H_
