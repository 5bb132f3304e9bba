#pragma once

#include <QString>

class QWidget;

namespace kelvoro {

// Message boxes, captioned "Kelvoro". Tests put a scripted prompt in place of the real one.
class Prompt {
public:
    enum class Answer { Yes, No, Cancel };

    virtual ~Prompt() = default;

    virtual void information(QWidget* parent, const QString& text) = 0;
    virtual void exclamation(QWidget* parent, const QString& text) = 0;
    virtual void stop(QWidget* parent, const QString& text) = 0;
    // OK and Cancel with the question icon; true for OK.
    virtual bool confirm(QWidget* parent, const QString& text) = 0;
    // Yes, No and Cancel with the exclamation icon.
    virtual Answer yesNoCancel(QWidget* parent, const QString& text) = 0;
};

class MessageBoxPrompt : public Prompt {
public:
    void information(QWidget* parent, const QString& text) override;
    void exclamation(QWidget* parent, const QString& text) override;
    void stop(QWidget* parent, const QString& text) override;
    bool confirm(QWidget* parent, const QString& text) override;
    Answer yesNoCancel(QWidget* parent, const QString& text) override;
};

} // namespace kelvoro
