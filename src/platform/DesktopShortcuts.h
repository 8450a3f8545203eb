#pragma once

#include <QObject>
#include <QString>

// Global shortcuts that the desktop binds to the program's actions itself, in its own settings:
// the program names each action and suggests a key, and the desktop decides which key fires it.
// The preferences show what the desktop decided and open its dialog for changing it.
class DesktopShortcuts : public QObject {
    Q_OBJECT
  public:
    using QObject::QObject;

    // The key the desktop bound to an action (by its stable id), as the desktop describes it;
    // empty while it has bound none.
    virtual QString trigger(const QString& action) const = 0;
    // Whether the desktop has a dialog of its own for changing them that a program can open;
    // where it has none, they are changed in the desktop's keyboard settings.
    virtual bool hasDialog() const = 0;
    // Opens the desktop's own dialog for changing the bindings.
    virtual void changeInDesktop() = 0;

  signals:
    // The desktop reported new bindings.
    void changed();
};
