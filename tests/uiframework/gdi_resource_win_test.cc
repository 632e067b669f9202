// The graphic resources through the real GDI and GDI+ under Wine: nine-slicing, GDI+ text alpha,
// the image cache's rules, premultiplied decoding and the font table's faces.
#include <windows.h>

#include <gtest/gtest.h>

#include "tests/uiframework/pixel_channels.h"
#include "uiframework/dib_surface.h"
#include "uiframework/gdi_resource.h"

namespace {

class GdiResource : public testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(resources_.StartGdiplus(L"")); }
  void TearDown() override { resources_.StopGdiplus(); }
  HBITMAP Load(const wchar_t* name) { return resources_.LoadImageResource(nullptr, name, kImageResourceType); }
  // The decoded pixels of an image, as AlphaBlend sees them (blended 1:1 over transparent).
  void Pixels(const wchar_t* name, int width, int height, CDibSurface* surface) {
    ASSERT_TRUE(surface->Create(width, height));
    resources_.BlendRect(surface->dc(), Load(name), RECT{0, 0, width, height}, RECT{0, 0, width, height}, 2);
    GdiFlush();
  }

  CGDIResource resources_;
};

TEST_F(GdiResource, NineSliceKeepsTheCornersOfTheSource) {
  CDibSurface source;
  Pixels(L"UI_TEST_FRAME", 100, 100, &source);
  CDibSurface window;
  ASSERT_TRUE(window.Create(652, 412));
  resources_.DrawNineSlice(window.dc(), Load(L"UI_TEST_FRAME"), RECT{0, 0, 652, 412}, RECT{0, 0, 100, 100}, 255, 10, 10,
                           10, 10);
  GdiFlush();
  for (int y = 0; y < 10; ++y) {
    for (int x = 0; x < 10; ++x) {
      ASSERT_EQ(source.Pixel(x, y), window.Pixel(x, y)) << x << "," << y;
      ASSERT_EQ(source.Pixel(90 + x, y), window.Pixel(642 + x, y)) << x << "," << y;
      ASSERT_EQ(source.Pixel(x, 90 + y), window.Pixel(x, 402 + y)) << x << "," << y;
      ASSERT_EQ(source.Pixel(90 + x, 90 + y), window.Pixel(642 + x, 402 + y)) << x << "," << y;
    }
  }
  // The edges stretch in one direction only: the top edge keeps the source's rows.
  EXPECT_EQ(Green(source.Pixel(50, 5)), Green(window.Pixel(326, 5)));
  EXPECT_EQ(255, Alpha(window.Pixel(326, 206)));  // the centre is covered
}

TEST_F(GdiResource, GdiplusTextIsAlmostOpaqueInItsColour) {
  CDibSurface surface;
  ASSERT_TRUE(surface.Create(200, 60));
  base::ScopedGdiObject font(CreateFontW(48, 0, 0, 0, 700, FALSE, FALSE, FALSE, 0, OUT_DEFAULT_PRECIS,
                                         CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, L"Tahoma"));
  resources_.DrawTextPlus(surface.dc(), L"MMM", RECT{0, 0, 200, 60}, static_cast<HFONT>(font.get()), RGB(255, 0, 0),
                          0x24);
  GdiFlush();
  int solid = 0;
  for (int i = 0; i < 200 * 60; ++i) {
    const uint32_t pixel = surface.pixels()[i];
    ASSERT_LE(Alpha(pixel), 0xFE) << "pixel " << i;
    if (Alpha(pixel) == 0xFE) {
      ++solid;
      EXPECT_EQ(0xFE, Red(pixel));  // 255 premultiplied by 0xFE
      EXPECT_EQ(0, Green(pixel));
      EXPECT_EQ(0, Blue(pixel));
    }
  }
  EXPECT_GT(solid, 100);
}

TEST_F(GdiResource, DecodedImagesArePremultiplied) {
  CDibSurface half;
  Pixels(L"UI_TEST_HALF", 2, 1, &half);
  EXPECT_EQ(128, Alpha(half.Pixel(0, 0)));
  EXPECT_NEAR(128, Red(half.Pixel(0, 0)), 1);
  EXPECT_EQ(0u, half.Pixel(1, 0));
}

TEST_F(GdiResource, ImageCacheDecodesOnceAndSearchesMissingNamesAgain) {
  int reads = 0;
  resources_.SetResourceReader([&](HMODULE module, const wchar_t* name, WORD type, std::string* bytes) {
    ++reads;
    return CGDIResource::ReadModuleResource(module, name, type, bytes);
  });
  const int decodes = resources_.image_decodes();
  HBITMAP first = Load(L"UI_TEST_FRAME");
  ASSERT_NE(nullptr, first);
  EXPECT_EQ(first, Load(L"UI_TEST_FRAME"));
  EXPECT_EQ(1, resources_.image_decodes() - decodes);
  EXPECT_EQ(1, reads);
  // Keys are exact even though resource names are not: another spelling is another entry.
  EXPECT_NE(nullptr, Load(L"ui_test_frame"));

  reads = 0;
  EXPECT_EQ(nullptr, Load(L"NO_SUCH_IMAGE"));
  EXPECT_EQ(nullptr, Load(L"NO_SUCH_IMAGE"));
  EXPECT_EQ(2, reads);

  reads = 0;
  EXPECT_EQ(nullptr, Load(L"UI_TEST_BROKEN"));  // found but undecodable: null, and cached
  EXPECT_EQ(nullptr, Load(L"UI_TEST_BROKEN"));
  EXPECT_EQ(1, reads);

  resources_.ReleaseCaches();
  EXPECT_NE(nullptr, Load(L"UI_TEST_FRAME"));  // made again after a release
}

TEST_F(GdiResource, StartCountGuardsGdiplus) {
  EXPECT_EQ(1, resources_.gdiplus_start_count());
  ASSERT_TRUE(resources_.StartGdiplus(L""));
  EXPECT_EQ(2, resources_.gdiplus_start_count());
  resources_.StopGdiplus();
  EXPECT_EQ(1, resources_.gdiplus_start_count());
  EXPECT_NE(nullptr, Load(L"UI_TEST_FRAME"));  // still started
}

TEST_F(GdiResource, FontsFollowTheSystemFacts) {
  const struct {
    bool chinese, pre_vista;
    FontKind kind;
    int height, weight;
    const wchar_t* face;
  } cases[] = {
      {false, true, FontKind::kDefault, 13, 400, L"Tahoma"},
      {true, false, FontKind::kTitle, 20, 700, L"\x5FAE\x8F6F\x96C5\x9ED1"},
      {false, false, FontKind::kTitle, 16, 700, L"Tahoma"},
      {false, false, FontKind::kBig, 21, 400, L"Microsoft YaHei"},
  };
  for (const auto& c : cases) {
    resources_.SetFontFactsSource([&] { return FontSystemFacts{c.chinese, c.pre_vista}; });
    HFONT font = resources_.GetFont(c.kind);
    ASSERT_NE(nullptr, font);
    EXPECT_EQ(font, resources_.GetFont(c.kind));  // made once
    LOGFONTW logical = {};
    ASSERT_TRUE(GetObjectW(font, sizeof(logical), &logical));
    EXPECT_EQ(c.height, logical.lfHeight);
    EXPECT_EQ(c.weight, logical.lfWeight);
    EXPECT_STREQ(c.face, logical.lfFaceName);
  }
}

}  // namespace
