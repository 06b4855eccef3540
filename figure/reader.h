#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

#include "figure/figure.h"

// Reading the exchange file. The file is read in binary mode and cut at '\n' into pieces of
// at most 255 bytes, line break included; a longer line arrives as several pieces, each
// handled as a line of its own. Every platform thus reads the same bytes the same way.

constexpr std::size_t kMaxPieceBytes = 255;
constexpr int kMaxFields = 7;
// A sweep needing more outline segments than this (beyond ten full turns) is rejected, so a
// short line cannot claim any amount of memory.
constexpr int kMaxOutlineSegments = 400;

// pi/180, 2*pi, 20/pi and pi/20 from a 15-digit pi: these exact values are the reader's.
constexpr double kReaderDegree = 0.017453292519943278;
constexpr double kReaderFullTurn = 6.28318530717958;
constexpr double kReaderSegmentsPerRadian = 6.36619772367582;
constexpr double kReaderCircleStep = 0.15707963267948952;

// Splits a line at single spaces. The first separator is taken at firstSeparator without
// looking at the character there; each further one is the next space. Returns the number of
// separators (kMaxFields + 1 at most: more are not counted) and converts up to kMaxFields
// fields into values; the last field runs to the end of the line, line break included.
int splitFields(std::string_view line, std::size_t firstSeparator, double values[kMaxFields]);

// Each returns 1 and fills the item when the line has the right number of finite fields
// (and, for circles, a finite outline of at most kMaxOutlineSegments segments), else 0
// with the item untouched.
int parseSegmentLine(std::string_view line, LineItem& item);
int parsePointLine(std::string_view line, PointItem& item);
int parseCircleLine(std::string_view line, CircleItem& item);

// A text line without its line break: `ch x y dx dy "string`. 1 with the item filled when the
// four numbers and the end point are finite and a space and a quote follow them, else 0.
int parseTextLine(std::string_view line, TextItem& item);

// Samples the curve into item.outline: 41 points for a three-number circle, else one
// segment per 9 degrees of sweep and never fewer than 20. Returns 0 (outline left empty)
// when a point is not finite or more than kMaxOutlineSegments segments would be needed.
int buildOutline(CircleItem& item);

// Dispatches one piece (as read, line break included) to the figure. Attribute lines and texts
// count only at the start of a line; an attribute line longer than a piece, or of its tag
// alone, sets nothing; a text is kept whole however many pieces it takes, while its later
// pieces are read as any other piece.
void readLine(std::string_view line, Figure& figure);

// Ends reading: a text whose line the input ended in is kept.
void finishReading(Figure& figure);

// Feeds bytes in any chunking and cuts them into pieces exactly as reading a file does.
struct FigureReader {
    explicit FigureReader(Figure& target) : figure(target) {}
    void feed(const char* data, std::size_t size);
    void finish();  // the last piece may lack a line break

    Figure& figure;
    char carry[kMaxPieceBytes] = {};
    std::size_t carryLength = 0;
    // The size of the whole input when known: the figure's lists are then sized once from
    // what the first parts hold, instead of growing step by step.
    std::size_t expectedBytes = 0;
    std::size_t consumed = 0;
    bool sized = false;

  private:
    // Large runs of whole lines are read in parts by the worker threads, then joined in order.
    void readWholeLines(const char* p, const char* end);
    void prepareParts(std::size_t count);
    void joinPart(Figure& part, double wholeScale);
    std::vector<Figure> parts;  // kept between chunks, so their lists are allocated once
};

// Reads the file at path into figure. Returns 1 when the file was opened (it has then been
// read to its end; a read error ends reading as if the file ended there), 0 when it cannot be
// opened as a regular file.
int loadFigure(const char* path, Figure& figure);

// The same on bytes in memory.
void loadFigureFromMemory(const char* data, std::size_t size, Figure& figure);
