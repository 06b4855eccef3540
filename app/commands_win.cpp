#include "app/commands_win.h"

#include <string>

#include "app/app_win.h"
#include "app/mouse_input_win.h"
#include "app/status_notes.h"
#include "app/texts.h"
#include "copyarray/array_bounds.h"
#include "figure/expression.h"

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

void rowTyped(App& app, int row) {
    std::string text = app.panel.typedText(row);
    // The limit counts characters where the system's edit does, and a paste may end in half a
    // character: the box keeps the whole characters of its first 127 bytes.
    const std::size_t kept = wholeCharacters(text.data(), text.size(), kRowTextSize - 1);
    if (kept < text.size()) {
        text.resize(kept);
        app.panel.cutText(row, text.c_str());
    }
    app.model.setRowText(row, text.c_str());
    modelChanged(app);
}

void slidersMoved(App& app) {
    int positions[kRowCount];
    for (int r = 0; r < kRowCount; ++r) positions[r] = app.panel.sliderPosition(r);
    app.model.setSliders(positions);
    app.panel.show(app.model.inputs);
    modelChanged(app);
}

void unitPressed(App& app, int row) {
    // A value the other unit cannot hold keeps the unit as it is.
    if (!app.model.toggleUnit(row)) MessageBeep(MB_ICONWARNING);
    app.panel.show(app.model.inputs);
    modelChanged(app);
}

void keepAttributesPressed(App& app) {
    const bool keep = app.panel.keepAttributesChecked();
    app.model.setKeepAttributes(keep);
    app.settings.rememberCheckBox(keep);
    modelChanged(app);
}

void restoreLastValues(App& app) {
    // The last completed send, of whichever Zovrel sent last.
    app.settings.reload();
    app.panel.enableLastValues(app.settings.hasLastValues());
    if (!app.settings.hasLastValues()) return;
    const bool keptBefore = app.model.inputs.keepAttributes;
    app.model.setRows(app.settings.lastValues());
    app.panel.show(app.model.inputs);
    // The check box as it is now left is what the next start takes up.
    if (app.model.inputs.keepAttributes != keptBefore)
        app.settings.rememberCheckBox(app.model.inputs.keepAttributes);
    modelChanged(app);
}

void basePointCommand(App& app) {
    app.strip.setHint(text::kPickHint);
    // Pressed again while picking, Escape still goes back to the base point before the first.
    if (!app.picking) app.baseBeforePick = {app.model.copies.baseX, app.model.copies.baseY};
    app.picking = true;
    // The base point goes to the pointer at once, and follows it from now on.
    const Point2 base = pointerInWorld(app);
    app.model.setBase(base.x, base.y);
    updateSnapMark(app);
    modelChanged(app);
}

void showBaseDialog(App& app) {
    app.baseDialog.show(app.model.copies.baseX, app.model.copies.baseY);
}

void applyTypedBase(App& app) {
    Point2 base;
    if (!app.baseDialog.typedBase(base)) {
        // Said where the drafter looks, without a box to answer; the text stays for mending.
        MessageBeep(MB_ICONWARNING);
        app.baseDialog.refuse(text::kBaseWrong);
        return;
    }
    app.baseDialog.hide();
    if (app.picking) {
        app.picking = false;
        app.strip.setHint("");
        updateSnapMark(app);
    }
    app.model.setBase(base.x, base.y);
    modelChanged(app);
}

void escapePressed(App& app) {
    if (app.picking)
        cancelPick(app);
    else
        askToQuit(app, true);
}

void askToQuit(App& app, bool noByDefault) {
    const UINT buttons = MB_YESNO | MB_ICONINFORMATION | (noByDefault ? MB_DEFBUTTON2 : 0);
    if (MessageBoxA(app.main, text::kQuitQuestion, text::kConfirm, buttons) == IDYES)
        DestroyWindow(app.main);
}

void fitArrayCommand(App& app) {
    const Bounds all = arrayBounds(app.figure, app.model.copies, app.model.params);
    if (all.empty)
        app.view.showAll();
    else
        app.view.fitBox(all.box, kHomeShare);
    viewChanged(app, true);
}

void completeCommand(App& app) {
    if (MessageBoxA(app.panel.panel, text::kCompleteQuestion, text::kConfirm,
                    MB_YESNO | MB_ICONINFORMATION) != IDYES)
        return;
    const int notFinite = app.model.rowNotFinite();
    if (notFinite >= 0) {
        const std::string message = std::string(text::kRowLabels[notFinite]) + text::kNotSentAfter +
                                    "\n" + text::kNotSentFix + "\n\n" + text::kNotSentKept;
        MessageBoxA(app.panel.panel, message.c_str(), text::kWriteFailedCaption,
                    MB_OK | MB_ICONERROR);
        return;
    }
    if (app.model.output.bytes >= OutputSize::kAsked) {
        const std::string question =
            text::kLargeWriteBefore + sizeText(app.model.output.bytes) + text::kLargeWriteAfter;
        if (MessageBoxA(app.panel.panel, question.c_str(), text::kConfirm,
                        MB_YESNO | MB_ICONWARNING | MB_DEFBUTTON2) != IDYES)
            return;
    }
    WriteError why = WriteError::none;
    if (writeResult(app.figure, app.model.copies, app.model.params, app.exchangePath.c_str(),
                    &why)) {
        app.settings.rememberCompletion(app.model.inputs);
        DestroyWindow(app.main);
        return;
    }
    const std::string message = std::string(text::kWriteFailed) + "\n" + writeFailureReason(why) +
                                "\n\n" + text::kWriteKept;
    MessageBoxA(app.panel.panel, message.c_str(), text::kWriteFailedCaption, MB_OK | MB_ICONERROR);
}

void showScaleDialog(App& app) {
    app.scaleDialog.show(app.view.scale);
}

void applyTypedScale(App& app) {
    if (!app.view.applyScale(app.scaleDialog.typedScale())) {
        // Not a positive value: keep the scale, say so, and offer the current one again.
        MessageBeep(MB_ICONWARNING);
        app.scaleDialog.offer(app.view.scale);
        return;
    }
    // The dialog may have been dragged away: hiding it then uncovers nothing, so the new scale
    // must be asked for.
    app.scaleDialog.hide();
    viewChanged(app, true);
}
