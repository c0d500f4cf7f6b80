#pragma once

#include "bridge/UserDialogs.h"

#include <QStringList>

// Answers the bridge's dialogs from a script and records its warnings.
struct FakeDialogs : UserDialogs
{
    QString nextPath;            // what the next file dialog returns ("" = cancelled)
    QStringList warnings;        // "title|text"
    QStringList filters;         // filter of every file dialog shown

    FakeDialogs() { UserDialogs::install(this); }
    ~FakeDialogs() override { UserDialogs::install(nullptr); }

    QString openFile(QWidget*, const QString&, const QString&, const QString& filter) override
    {
        filters << filter;
        return nextPath;
    }
    QString saveFile(QWidget*, const QString&, const QString&, const QString& filter) override
    {
        filters << filter;
        return nextPath;
    }
    void warning(const QString& title, const QString& text) override
    {
        warnings << title + "|" + text;
    }
};
