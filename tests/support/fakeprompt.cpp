#include "support/fakeprompt.h"

namespace kelvoro::test {

void FakePrompt::information(QWidget*, const QString& text) {
    shown.append({Kind::Information, text});
}

void FakePrompt::exclamation(QWidget*, const QString& text) {
    shown.append({Kind::Exclamation, text});
}

void FakePrompt::stop(QWidget*, const QString& text) {
    shown.append({Kind::Stop, text});
}

bool FakePrompt::confirm(QWidget*, const QString& text) {
    shown.append({Kind::Confirm, text});
    return confirmAnswers.isEmpty() ? true : confirmAnswers.takeFirst();
}

Prompt::Answer FakePrompt::yesNoCancel(QWidget*, const QString& text) {
    shown.append({Kind::YesNoCancel, text});
    return answers.isEmpty() ? Answer::Yes : answers.takeFirst();
}

QStringList FakePrompt::texts() const {
    QStringList result;
    for (const Shown& s : shown)
        result.append(s.text);
    return result;
}

int FakePrompt::count(Kind kind) const {
    int n = 0;
    for (const Shown& s : shown)
        n += s.kind == kind ? 1 : 0;
    return n;
}

} // namespace kelvoro::test
