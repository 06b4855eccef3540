#include "app/app_win.h"

void attachApp(HWND window, LPARAM createStruct) {
    const CREATESTRUCTA& creation = *reinterpret_cast<const CREATESTRUCTA*>(createStruct);
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(creation.lpCreateParams));
}

App* findApp(HWND window) {
    return reinterpret_cast<App*>(GetWindowLongPtrA(GetAncestor(window, GA_ROOT), GWLP_USERDATA));
}

App& appOf(HWND window) {
    return *findApp(window);
}

void modelChanged(App& app) {
    app.canvas.invalidate();
    app.panel.showUnits();
    app.panel.showReadings(app.model.reading);
    app.strip.invalidate();
    app.strip.showBase();
    app.baseDialog.followBase(app.model.copies.baseX, app.model.copies.baseY);
}

Point2 pointerInWorld(const App& app) {
    return app.view.screenToWorld(app.mouse.pointerPos.x, app.mouse.pointerPos.y);
}

void moveBase(App& app, Point2 base) {
    if (base.x == app.model.copies.baseX && base.y == app.model.copies.baseY) return;
    app.model.setBase(base.x, base.y);
    modelChanged(app);
}

void viewChanged(App& app, bool scaleChanged) {
    if (app.picking) {
        moveBase(app, pointerInWorld(app));
        updateSnapMark(app);
    }
    app.canvas.invalidate();
    if (scaleChanged) showScale(app);
}

void updateSnapMark(App& app) {
    app.snapMark = {};
    if (!app.picking) return;
    const Point2 p = pointerInWorld(app);
    app.snapMark = snapTarget(app.figure, p.x, p.y, app.view.scale, app.dpi);
}

void showScale(App& app) {
    app.strip.showScale();
    app.scaleDialog.followView(app.view.scale);
}
