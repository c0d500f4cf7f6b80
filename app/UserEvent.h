#pragma once

#include <QEvent>

// A custom event with one integer code. Code 2177 starts the scene.
class UserEvent : public QEvent
{
public:
    static constexpr int SceneStart = 2177;

    explicit UserEvent(int code)
        : QEvent(QEvent::User), code(code) {}

    qint32 code;
};
