#pragma once

#include <cstdint>
#include <vector>

#include "copyarray/element_lines.h"
#include "figure/figure.h"
#include "figure/matrix3.h"
#include "view/figure_outlines.h"
#include "view/pixels.h"
#include "view/raster.h"
#include "view/screen_map.h"
#include "view/view_mapping.h"

// Drawing into a 32-bit bitmap in memory, world coordinates through the view, every pixel
// set within `clip`. The copies' threads draw into layers through copies of one target, with
// their own bits and stamps for colours.
struct RasterTarget {
    // The bitmap: top-down rows of 0x00RRGGBB, `bitmapWidth` apart.
    uint32_t* bits = nullptr;
    int bitmapWidth = 0;
    int bitmapHeight = 0;
    PixelRect clip{0, 0, 0, 0};  // within the bitmap
    ViewMapping view;
    const FigureOutlines* outlines = nullptr;  // the figure's circles, by their index

    uint32_t lineColour = 0;  // what lines and dots are set in
    uint32_t dotColour = 0;
    // What beginCopyLines and beginCopyDots choose: the figure itself is copy 0.
    uint32_t figureColour = 0;
    uint32_t copyLineColour = 0;
    uint32_t copyDotColour = 0;
    // Instead of colours, copy k sets its lines as 2k and its dots as 2k + 1: the largest
    // value a pixel gets is what drew it last.
    bool stamps = false;

    // A new bitmap; the clip becomes all of it.
    void setBitmap(uint32_t* memory, int width, int height);

    // The drawing target of drawCopies.
    void beginCopyLines(int k) {
        lineColour = k == 0 ? figureColour : stamps ? 2 * static_cast<uint32_t>(k) : copyLineColour;
    }
    void beginCopyDots(int k) {
        dotColour = k == 0   ? figureColour
                    : stamps ? 2 * static_cast<uint32_t>(k) + 1
                             : copyDotColour;
    }
    // The box under m, widened by reach drawing units around its image, lies wholly outside the
    // clip (a dot's reach of pixels and a text's start mark included).
    bool copyMissesView(const Extents& box, const Matrix3& m, double reach) const;
    void drawSegments(const std::vector<LineItem>& segments, const Matrix3& m);
    void drawPolylines(const std::vector<PolylineItem>& polylines, const Matrix3& m);
    void drawCircles(const std::vector<CircleItem>& circles, const Matrix3& m);
    // One circle through its outline points.
    void drawCircle(const CircleItem& circle, const Point2* outline, std::size_t count,
                    const Matrix3& m);
    void drawDots(const std::vector<PointItem>& points, const Matrix3& m);
    void drawDot(const Matrix3& m, double x, double y);
    // A text as the segment it covers, in the line colour, with a mark of five pixels (a plus)
    // at its start.
    void drawText(const TextPlacement& text);
    // The closed outline through count corners (a segment for two).
    void drawOutline(const Point2* corners, int count, const Matrix3& m);

    // Screen coordinates (pixels, unrounded), and truncated pixels.
    void drawSegmentPixels(const Point2& a, const Point2& b);
    // Inline: most segments of an outline are a pixel or two long.
    void drawPixelSegment(PixelPoint a, PixelPoint b) {
        const int32_t dx = b.x - a.x, dy = b.y - a.y;
        // A segment within one pixel lights nothing: LineTo leaves out its last pixel.
        if ((dx | dy) == 0) return;
        if (inClip(a)) {
            // One step: only its first pixel.
            if (dx >= -1 && dx <= 1 && dy >= -1 && dy <= 1) {
                bits[static_cast<size_t>(a.y) * bitmapWidth + a.x] = lineColour;
                return;
            }
            if (inClip(b)) {
                rasterLine(bits, bitmapWidth, a, b, lineColour);
                return;
            }
        }
        drawLeavingSegment(a, b);
    }
    bool inClip(PixelPoint p) const {
        return p.x >= clip.left && p.y >= clip.top && p.x < clip.right && p.y < clip.bottom;
    }

  private:
    void drawSegments(const std::vector<LineItem>& segments, const PairMap& map);
    void drawLeavingSegment(PixelPoint a, PixelPoint b);
    void drawDotAt(const Point2& screen);
    void drawDotPixel(PixelPoint p);
    // Where a circle's outline falls, told from its screen box before any point is mapped.
    enum class CirclePlace { off, inside, crossing };
    CirclePlace placeCircle(const CircleItem& circle, const PairMap& map) const;
    void drawPlacedCircle(CirclePlace place, const Point2* outline, std::size_t count,
                          const PairMap& map);
    // An outline whose every point lies at least a pixel inside the clip.
    void drawOutlineInside(const Point2* outline, std::size_t count, const PairMap& map);
};
