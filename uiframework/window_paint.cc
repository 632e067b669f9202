#include "uiframework/window_paint.h"

void PaintBackground(ICanvas& canvas, const CWindowRoot& root, int width, int height) {
  const UiRect client{0, 0, width, height};
  if (root.frame().valid()) {
    canvas.NineSlice(root.frame(), client, MakeRect(0, 0, root.frame().width, root.frame().height),
                     root.frame_corner());
  }
  if (root.frame_back().valid()) {
    const Margins& pos = root.frame_back_pos();
    canvas.NineSlice(root.frame_back(), UiRect{pos.left, pos.top, pos.right, pos.bottom},
                     MakeRect(0, 0, root.frame_back().width, root.frame_back().height), root.frame_back_corner());
  }
  const UiImage& logo = root.logo();
  if (logo.valid())
    canvas.BlendImage(logo, MakeRect(10, 10, logo.width, logo.height), MakeRect(0, 0, logo.width, logo.height));
  if (!root.GetText().empty()) {
    const UiRect caption{logo.valid() ? logo.width + 17 : 18, 9, client.right - 1,
                         root.title_height() < 1 ? 29 : root.title_height()};
    canvas.DrawString(root.GetText(), caption, FontKind::kDefault, MakeColour(255, 255, 255), 0, root.layered());
  }
}

void PaintElements(ICanvas& canvas, CElementList& elements) {
  elements.Paint(canvas);
}
