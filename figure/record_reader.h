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
// cutting delivers them (figure/line_cutting.h). Everything reading has to remember between
// pieces lives here, not in the figure.
struct RecordReader {
    // A part reader reads a stretch of a file on its own, for parallel reading: it cannot know
    // what the stretch before it left open, so segments before its first "pl" or "#" wait in
    // `leading`, and every kind's first item gets a run of its own, to be joined in order.
    explicit RecordReader(Figure& target, bool part = false);

    // One piece, line break included. Attribute lines count only at the start of a line; an
    // attribute line longer than a piece, or of its tag alone, sets nothing. A record that
    // carries a string (a text, a block reference) is read whole however many pieces it takes,
    // and its later pieces are never records of their own; a later piece of any other line is
    // read as a line of its own.
    void readPiece(std::string_view piece);
    // The input ended: a string record whose line it ended in is kept.
    void finish();
    // Other readers' items were joined onto the figure: go on after their runs.
    void resumeRuns();

    // One overload per kind: a piece at the start of its line that starts as the kind's lines.
    void readElement(SegmentKind, std::string_view piece);
    void readElement(PolylineKind, std::string_view piece);
    void readElement(CircleKind, std::string_view piece);
    void readElement(PointKind, std::string_view piece);
    void readElement(TextKind, std::string_view piece);
    void readElement(SolidKind, std::string_view piece);
    void readElement(MarkerKind, std::string_view piece);
    void readElement(DimensionKind, std::string_view piece);
    void readElement(BlockKind, std::string_view piece);

    Figure& figure;
    AttributeTable table;
    bool polylineOpen = false;
    std::size_t groupKind = kFigureKinds;  // the kind of the open group (its list's last), or none
    // Where the buffer the pieces stand in ends, while they come from one (line_cutting's
    // readPieces): the numbers may be read past a piece's end up to it.
    const char* readable = nullptr;
    // The piece being read starts its line; the last piece did not end its line.
    bool lineStart = true;
    bool midLine = false;
    // Part readers only.
    bool part = false;
    bool markerSeen = false;     // a "pl" or "#" was read
    bool assumedClosed = false;  // a group began before either: no polyline taken as open
    std::vector<LineItem> leading;
    std::vector<StateRun> leadingRuns;

  private:
    void appendSegment(const LineItem& item);
    // Every element goes through here: its kind's run, and its place in an open group.
    template <class Kind>
    void append(typename Kind::Item&& item);
    void openGroup(std::size_t kind, GroupItem&& group);
    void endLine();  // "#"
    void readOtherLine(std::string_view piece);
    void setAttribute(AttributeKey key, std::string_view line);
    void count(std::string_view tag);
    void readString(std::string_view line);
    // Before item `index` of a list whose last run has state `last`: a run of the state now
    // where it differs, so states cost memory only where an element follows them.
    void noteState(std::vector<StateRun>& runs, uint32_t& last, std::size_t index);

    uint32_t runState[kFigureKinds];  // the state of each kind's last run
    uint32_t leadingState;
    uint32_t polylineState = 0;  // the state of the open polyline's last segment
    // A string record longer than a piece, being collected.
    bool stringOpen = false;
    std::string stringLine;
    Point2 outline[kMaxOutlinePoints];  // one circle's, to check and measure it
};
