#pragma once

#include <QObject>

class QWidget;
class myQQuickView;

// Lets the scene move and close the frameless window, and lets the window
// show the scene's busy overlay. Published to the scene as "ui_Ctl".
class Ui_Controler : public QObject
{
    Q_OBJECT
public:
    explicit Ui_Controler(QObject* parent = nullptr);

    // Configures the window, creates the view and loads the scene. Once.
    void setupWindow(QWidget* window);

    QWidget* window = nullptr;
    myQQuickView* view = nullptr;

public slots:
    void onMinimize();
    void onXChanged(int x);
    void onYChanged(int y);
    void setBusy(int busyTime);
    void setBusy();

private:
    void applyWindowTitle();
};
