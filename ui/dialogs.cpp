#include "ui/dialogs.hpp"

#include "ui/fonts.hpp"

#include <QAbstractButton>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QInputDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPixmap>
#include <QPushButton>
#include <QVBoxLayout>

namespace quenlio::dialogs {

namespace {
Hook* g_hook = nullptr;

// What marks a value that differs from the other reading, besides its colour.
const QString DiffersMark = QStringLiteral("（不同）");

QString Marked(const QString& value, bool differs) {
    return differs ? value + DiffersMark : value;
}

// The box's lines as the hook records them.
QString ReadingLines(const ReadingCheck& check) {
    QStringList lines;
    if (!check.verdict.isEmpty())
        lines << check.verdict;
    for (const ReadingRow& row : check.rows)
        lines << (check.compared ? QStringLiteral("%1 %2 %3 %4 %5")
                                       .arg(row.caption, check.labelCaption, Marked(row.label, row.differs),
                                            check.screenCaption, Marked(row.read, row.differs))
                                 : row.caption + QLatin1Char(' ') + row.read);
    return lines.join(QLatin1Char('\n'));
}

// A value in the box: selectable, large enough to tell 0 from O; bold red and marked where it
// differs from the other reading.
QLabel* ValueLabel(const QString& value, bool differs) {
    auto* label = new QLabel(Marked(value, differs));
    QFont font = fonts::Song(14);
    font.setBold(differs);
    label->setFont(font);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    if (differs)
        label->setStyleSheet(QStringLiteral("color: #c00000;"));
    return label;
}

// The part of the picture a value was read from, at a height that is legible.
QLabel* FromLabel(const ReadingRow& row) {
    auto* label = new QLabel;
    if (!row.from.isNull()) {
        constexpr int Height = 36;
        constexpr int MostWidth = 300;
        QImage shown = row.from.scaledToHeight(Height, Qt::SmoothTransformation);
        if (shown.width() > MostWidth)
            shown = row.from.scaledToWidth(MostWidth, Qt::SmoothTransformation);
        label->setPixmap(QPixmap::fromImage(shown));
        label->setFrameShape(QFrame::Box);
    }
    label->setAccessibleName(QStringLiteral("%1在图片中的位置").arg(row.caption));
    return label;
}
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

Answer Hook::Reply(Shown shown) {
    const Buttons buttons = shown.buttons;
    m_shown.push_back(std::move(shown));
    if (onShown)
        onShown(m_shown.back());
    Answer answer = Answer::Ok;
    if (!m_answers.empty()) {
        answer = m_answers.front();
        m_answers.erase(m_answers.begin());
    }
    return buttons == Buttons::Ok ? Answer::Ok : answer;
}

Answer ShowMessage(QWidget* parent, const QString& text, const QString& title, Buttons buttons) {
    if (g_hook) {
        return g_hook->Reply({Shown::Kind::Message, text, title, buttons, {}, {}});
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
        hook.m_shown.push_back({Shown::Kind::Input, prompt, title, Buttons::OkCancel, initial, {}});
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

Answer CheckReading(QWidget* parent, const QString& title, const ReadingCheck& check) {
    const Buttons buttons = check.choices.size() > 1 ? Buttons::OkCancel : Buttons::Ok;
    if (g_hook) {
        return g_hook->Reply({Shown::Kind::Reading, ReadingLines(check), title, buttons, {}, check.choices});
    }

    QDialog box(parent);
    box.setWindowTitle(title);
    box.setFont(fonts::Song());
    auto* layout = new QVBoxLayout(&box);
    if (!check.verdict.isEmpty()) {
        auto* verdict = new QLabel(check.verdict);
        QFont font = fonts::Song(14);
        font.setBold(true);
        verdict->setFont(font);
        layout->addWidget(verdict);
    }
    // Compared: caption, the label's value, the screen's value beside the part of the picture.
    auto* rows = new QGridLayout;
    rows->setHorizontalSpacing(14);
    int line = 0;
    if (check.compared) {
        rows->addWidget(new QLabel(check.labelCaption), line, 1);
        rows->addWidget(new QLabel(check.screenCaption), line, 2, 1, 2);
        ++line;
    }
    for (const ReadingRow& row : check.rows) {
        rows->addWidget(new QLabel(row.caption), line, 0);
        int column = 1;
        if (check.compared)
            rows->addWidget(ValueLabel(row.label, row.differs), line, column++);
        rows->addWidget(FromLabel(row), line, column++);
        rows->addWidget(ValueLabel(row.read, row.differs), line, column++);
        ++line;
    }
    layout->addLayout(rows);
    auto* choices = new QDialogButtonBox;
    QPushButton* ok = nullptr;
    for (int i = 0; i < check.choices.size(); ++i) {
        QPushButton* button = choices->addButton(check.choices[i], i == 0 ? QDialogButtonBox::AcceptRole
                                                                          : QDialogButtonBox::RejectRole);
        if (i == 0)
            ok = button;
    }
    if (ok)
        ok->setDefault(true);
    QObject::connect(choices, &QDialogButtonBox::accepted, &box, &QDialog::accept);
    QObject::connect(choices, &QDialogButtonBox::rejected, &box, &QDialog::reject);
    layout->addWidget(choices);
    const bool accepted = box.exec() == QDialog::Accepted;
    return accepted || buttons == Buttons::Ok ? Answer::Ok : Answer::Cancel;
}

std::optional<QString> AskPicture(QWidget* parent, const QString& title, const QStringList& suffixes) {
    const QString filter = QStringLiteral("图片 (*.%1)").arg(suffixes.join(QStringLiteral(" *.")));
    if (g_hook) {
        Hook& hook = *g_hook;
        hook.m_shown.push_back({Shown::Kind::Picture, filter, title, Buttons::OkCancel, {}, {}});
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
