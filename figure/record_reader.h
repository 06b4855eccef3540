#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "figure/attribute_table.h"
#include "figure/element_kinds.h"
#include "figure/figure.h"
#include "figure/line_cutting.h"
#include "figure/outline.h"

// Reading the records of the exchange file into a figure, one piece at a time as the line
// cutting delivers them (figure/line_cutting.h). Everything reading has to remember between pieces
// lives here, not in the figure.
struct RecordReader {
    // A part reader reads a stretch of a file on its own, for parallel reading: it cannot know
    // what the stretch before it left open, so segments before its first "pl" or "#" wait in
    // `leading`, and every kind's first item gets a run of its own, to be joined in order.
    explicit RecordReader(Figure& target, bool part = false);

    // One piece, line break included. Attribute lines and texts count only at the start of a
    // line; an attribute line longer than a piece, or of its tag alone, sets nothing; a text is
    // kept whole however many pieces it takes, while its later pieces are read as any other.
    void readPiece(std::string_view piece);
    // The input ended: a text whose line it ended in is kept.
    void finish();
    // Other readers' items were joined onto the figure: go on after their runs.
    void resumeRuns();

    // One overload per kind: a piece that starts with the kind's tag.
    void readElement(SegmentKind, std::string_view piece);
    void readElement(PolylineKind, std::string_view piece);
    void readElement(CircleKind, std::string_view piece);
    void readElement(PointKind, std::string_view piece);
    void readElement(TextKind, std::string_view piece);

    Figure& figure;
    AttributeTable table;
    bool polylineOpen = false;
    // The piece being read starts its line; the last piece did not end its line; a text line
    // longer than a piece is being collected.
    bool lineStart = true;
    bool midLine = false;
    bool textOpen = false;
    std::string textLine;
    // Part readers only.
    bool part = false;
    bool markerSeen = false;  // a "pl" or "#" was read
    std::vector<LineItem> leading;
    std::vector<StateRun> leadingRuns;

  private:
    void appendSegment(const LineItem& item);
    void readOtherLine(std::string_view piece);
    void setAttribute(AttributeKey key, std::string_view line);
    void keepText(std::string_view line);
    void continueText(std::string_view piece);
    // Before item `index` of a list whose last run has state `last`: a run of the state now
    // where it differs, so states cost memory only where an element follows them.
    void noteState(std::vector<StateRun>& runs, uint32_t& last, std::size_t index);

    uint32_t runState[kFigureKinds];  // the state of each kind's last run
    uint32_t leadingState;
    Point2 outline[kMaxOutlinePoints];  // one circle's, to check and measure it
};
