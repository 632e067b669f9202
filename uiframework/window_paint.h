// The whole-window paint shared by the layered window and the headless renderer: the
// background (frame and frameBack nine-slices, logo, caption) and then every visible element.
#ifndef UIFRAMEWORK_WINDOW_PAINT_H_
#define UIFRAMEWORK_WINDOW_PAINT_H_

#include "uiframework/canvas.h"
#include "uiframework/element_list.h"
#include "uiframework/layout_document.h"

// Client rectangle (0, 0, width, height).
void PaintBackground(ICanvas& canvas, const CWindowRoot& root, int width, int height);
void PaintElements(ICanvas& canvas, CElementList& elements);

#endif  // UIFRAMEWORK_WINDOW_PAINT_H_
