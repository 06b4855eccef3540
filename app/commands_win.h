#pragma once

#include "copyarray/writer.h"

// "基点変更": the next plain click in the canvas sets the base point.
void basePointCommand();

// "完了+JWWに送信": after a Yes, writes the copies into the exchange file, keeps the rows for
// "前回値" and ends the program.
// When writing fails, says why and keeps running with the file as it was.
void completeCommand();

// The Japanese reason shown for a failed write.
const char* writeFailureReason(WriteError error);
