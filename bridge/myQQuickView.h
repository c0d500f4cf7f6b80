#pragma once

#include <QQuickWidget>

class Hid_Thread;

// The scene's view and its back end: published to the scene as "ui_View".
// The order of the slots is part of the scene interface.
class myQQuickView : public QQuickWidget
{
    Q_OBJECT
public:
    explicit myQQuickView(QWidget* parent = nullptr);
    ~myQQuickView() override;

    // The main window's device link; set by the window, never by the view.
    Hid_Thread* hidThread = nullptr;

public slots:
    void initUI();
    void zzzQuarel();
    void runUI();

private:
    void queueSceneCall(const char* function, const QVariantList& args = {});
};
