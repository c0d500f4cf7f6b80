#include "bridge/UserDialogs.h"

#include <QFileDialog>
#include <QMessageBox>

namespace {
UserDialogs* installed = nullptr;
}

QString UserDialogs::openFile(QWidget* parent, const QString& caption, const QString& dir,
                              const QString& filter)
{
    return QFileDialog::getOpenFileName(parent, caption, dir, filter);
}

QString UserDialogs::saveFile(QWidget* parent, const QString& caption, const QString& dir,
                              const QString& filter)
{
    return QFileDialog::getSaveFileName(parent, caption, dir, filter);
}

void UserDialogs::warning(const QString& title, const QString& text)
{
    QMessageBox::warning(nullptr, title, text, QMessageBox::Ok);
}

UserDialogs& UserDialogs::instance()
{
    static UserDialogs toolkit;
    return installed ? *installed : toolkit;
}

void UserDialogs::install(UserDialogs* dialogs)
{
    installed = dialogs;
}
