#pragma once

#include "presentation/prompt.h"

#include <QList>
#include <QStringList>

namespace kelvoro::test {

// Records every message and answers questions from a script (OK / Yes when the script is
// empty).
class FakePrompt : public Prompt {
public:
    enum class Kind { Information, Exclamation, Stop, Confirm, YesNoCancel };
    struct Shown {
        Kind kind;
        QString text;
    };

    void information(QWidget*, const QString& text) override;
    void exclamation(QWidget*, const QString& text) override;
    void stop(QWidget*, const QString& text) override;
    bool confirm(QWidget*, const QString& text) override;
    Answer yesNoCancel(QWidget*, const QString& text) override;

    QList<Shown> shown;
    QList<bool> confirmAnswers;
    QList<Answer> answers;

    QStringList texts() const;
    int count(Kind kind) const;
};

} // namespace kelvoro::test
