#include "app/commands_win.h"

#include <string>

#include "app/app_win.h"
#include "app/mouse_input_win.h"
#include "app/texts.h"
#include "copyarray/array_bounds.h"

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
    char text[kRowTextSize];
    app.panel.valueText(row, text);
    app.model.setRowText(row, text);
    modelChanged(app);
}

void slidersMoved(App& app) {
    CopyInputs rows = app.model.inputs;
    for (int r = 0; r < kRowCount; ++r) rows.rowSlider[r] = app.panel.sliderPosition(r);
    app.model.setRows(rows);
    app.panel.show(app.model.inputs);
    modelChanged(app);
}

void unitPressed(App& app, int row) {
    app.model.toggleUnit(row);
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
    const Point2 base = app.view.screenToWorld(app.mouse.pointerPos.x, app.mouse.pointerPos.y);
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
