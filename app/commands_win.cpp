#include "app/commands_win.h"

#include <string>

#include "app/globals_win.h"
#include "app/texts.h"
#include "figure/exchange_io.h"

const char* writeFailureReason(WriteError error) {
    switch (error) {
        case WriteError::readOnly:
            return text::kWhyReadOnly;
        case WriteError::notAFile:
            return text::kWhyNotAFile;
        case WriteError::cannotCreate:
            return text::kWhyCannotCreate;
        case WriteError::cannotReplace:
            return text::kWhyCannotReplace;
        case WriteError::notRepresentable:
            return text::kWhyNotRepresentable;
        case WriteError::writeFailed:
            return text::kWhyWriteFailed;
        case WriteError::none:
            break;
    }
    return text::kWhyUnknown;
}

void basePointCommand() {
    thePanel.setHint(text::kPickHint);
    basePointPickMode = 1;
    // The base point goes to the pointer at once; each later paint keeps it there.
    const Point2 base = theCanvas.pointerInWorld(theMouse.pointerPos);
    theCopyArray.baseX = base.x;
    theCopyArray.baseY = base.y;
    theCanvas.invalidate();
}

void completeCommand() {
    if (MessageBoxA(thePanel.panel, text::kCompleteQuestion, text::kConfirm,
                    MB_YESNO | MB_ICONINFORMATION) != IDYES)
        return;
    WriteError why = WriteError::none;
    if (writeResult(theFigure, theCopyArray, thePanel.model.params, kExchangeFile, &why)) {
        thePanel.storeLastValues();
        SendMessageA(theCanvas.parentWindow, WM_DESTROY, 0, 0);
        return;
    }
    const std::string message = std::string(text::kWriteFailed) + "\n" + writeFailureReason(why) +
                                "\n\n" + text::kWriteKept;
    MessageBoxA(thePanel.panel, message.c_str(), text::kWriteFailedCaption, MB_OK | MB_ICONERROR);
}
