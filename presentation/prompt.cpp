#include "presentation/prompt.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QMessageBox>

namespace kelvoro {

namespace {

const QString kCaption = QStringLiteral("Kelvoro");

QMessageBox::StandardButton show(QWidget* parent, QMessageBox::Icon icon, const QString& text,
                                 QMessageBox::StandardButtons buttons,
                                 QMessageBox::StandardButton defaultButton) {
    QMessageBox box(icon, kCaption, text, buttons, parent);
    box.setDefaultButton(defaultButton);
    // The program's own button texts, whatever translations of Qt the system has.
    const struct {
        QMessageBox::StandardButton button;
        const char* text;
    } labels[] = {{QMessageBox::Ok, QT_TRANSLATE_NOOP("kelvoro::Prompt", "OK")},
                  {QMessageBox::Cancel, QT_TRANSLATE_NOOP("kelvoro::Prompt", "キャンセル")},
                  {QMessageBox::Yes, QT_TRANSLATE_NOOP("kelvoro::Prompt", "はい(&Y)")},
                  {QMessageBox::No, QT_TRANSLATE_NOOP("kelvoro::Prompt", "いいえ(&N)")}};
    for (const auto& label : labels)
        if (QAbstractButton* b = box.button(label.button))
            b->setText(QCoreApplication::translate("kelvoro::Prompt", label.text));
    return static_cast<QMessageBox::StandardButton>(box.exec());
}

} // namespace

void MessageBoxPrompt::information(QWidget* parent, const QString& text) {
    show(parent, QMessageBox::Information, text, QMessageBox::Ok, QMessageBox::Ok);
}

void MessageBoxPrompt::exclamation(QWidget* parent, const QString& text) {
    show(parent, QMessageBox::Warning, text, QMessageBox::Ok, QMessageBox::Ok);
}

void MessageBoxPrompt::stop(QWidget* parent, const QString& text) {
    show(parent, QMessageBox::Critical, text, QMessageBox::Ok, QMessageBox::Ok);
}

bool MessageBoxPrompt::confirm(QWidget* parent, const QString& text) {
    return show(parent, QMessageBox::Question, text, QMessageBox::Ok | QMessageBox::Cancel,
                QMessageBox::Ok) == QMessageBox::Ok;
}

Prompt::Answer MessageBoxPrompt::yesNoCancel(QWidget* parent, const QString& text) {
    switch (show(parent, QMessageBox::Warning, text,
                 QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, QMessageBox::Yes)) {
    case QMessageBox::Yes:
        return Answer::Yes;
    case QMessageBox::No:
        return Answer::No;
    default:
        return Answer::Cancel;
    }
}

} // namespace kelvoro
