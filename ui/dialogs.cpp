#include "ui/dialogs.hpp"

#include "ui/fonts.hpp"

#include <QAbstractButton>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>

namespace quenlio::dialogs {

namespace {
Hook* g_hook = nullptr;
} // namespace

Hook::Hook() {
    g_hook = this;
}
Hook::~Hook() {
    if (g_hook == this)
        g_hook = nullptr;
}

void Hook::QueueAnswer(Answer answer) {
    m_answers.push_back(answer);
}
void Hook::QueueInput(std::optional<QString> line) {
    m_inputs.push_back(std::move(line));
}
void Hook::QueuePicture(QString path) {
    m_pictures.push_back(std::move(path));
}

Answer ShowMessage(QWidget* parent, const QString& text, const QString& title, Buttons buttons) {
    if (g_hook) {
        Hook& hook = *g_hook;
        hook.m_shown.push_back({Shown::Kind::Message, text, title, buttons, {}});
        if (hook.onShown)
            hook.onShown(hook.m_shown.back());
        Answer answer = Answer::Ok;
        if (!hook.m_answers.empty()) {
            answer = hook.m_answers.front();
            hook.m_answers.erase(hook.m_answers.begin());
        }
        return buttons == Buttons::Ok ? Answer::Ok : answer;
    }

    QMessageBox box(QMessageBox::NoIcon, title, text, QMessageBox::NoButton, parent);
    box.setFont(fonts::Song());
    QPushButton* ok = box.addButton(QStringLiteral("确定"), QMessageBox::AcceptRole);
    QPushButton* cancel = nullptr;
    if (buttons == Buttons::OkCancel) {
        cancel = box.addButton(QStringLiteral("取消"), QMessageBox::RejectRole);
        box.setEscapeButton(cancel);
    } else {
        box.setEscapeButton(ok);
    }
    box.setDefaultButton(ok);
    box.exec();
    return box.clickedButton() == ok ? Answer::Ok : Answer::Cancel;
}

std::optional<QString> AskText(QWidget* parent, const QString& prompt, const QString& title,
                               const QString& initial) {
    if (g_hook) {
        Hook& hook = *g_hook;
        hook.m_shown.push_back({Shown::Kind::Input, prompt, title, Buttons::OkCancel, initial});
        if (hook.onShown)
            hook.onShown(hook.m_shown.back());
        if (hook.m_inputs.empty())
            return initial;
        const bool accepted = hook.m_inputs.front().has_value();
        const QString line = hook.m_inputs.front().value_or(QString());
        hook.m_inputs.erase(hook.m_inputs.begin());
        return accepted ? std::optional<QString>(line) : std::nullopt;
    }

    QInputDialog box(parent);
    box.setFont(fonts::Song());
    box.setInputMode(QInputDialog::TextInput);
    box.setWindowTitle(title);
    box.setLabelText(prompt);
    box.setTextValue(initial);
    box.setOkButtonText(QStringLiteral("确定"));
    box.setCancelButtonText(QStringLiteral("取消"));
    if (box.exec() != QDialog::Accepted)
        return std::nullopt;
    return box.textValue();
}

std::optional<QString> AskPicture(QWidget* parent, const QString& title, const QStringList& suffixes) {
    const QString filter = QStringLiteral("图片 (*.%1)").arg(suffixes.join(QStringLiteral(" *.")));
    if (g_hook) {
        Hook& hook = *g_hook;
        hook.m_shown.push_back({Shown::Kind::Picture, filter, title, Buttons::OkCancel, {}});
        if (hook.onShown)
            hook.onShown(hook.m_shown.back());
        if (hook.m_pictures.empty())
            return std::nullopt;
        const QString path = hook.m_pictures.front();
        hook.m_pictures.erase(hook.m_pictures.begin());
        return path;
    }
    const QString path = QFileDialog::getOpenFileName(parent, title, QString(), filter);
    return path.isEmpty() ? std::nullopt : std::optional<QString>(path);
}

} // namespace quenlio::dialogs
