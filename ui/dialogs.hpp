#pragma once
// Every message box and input box of the program goes through here, so that the
// texts, titles and buttons are the same everywhere and tests can answer them.
#include <QImage>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>
#include <vector>

class QWidget;

namespace quenlio::dialogs {

enum class Buttons { Ok, OkCancel };
enum class Answer { Ok, Cancel };

// A modal message box with no icon and Chinese buttons ("确定", "取消"). Closing the
// box with its close button or Escape answers Cancel where there is a Cancel button
// and Ok where there is only OK.
Answer ShowMessage(QWidget* parent, const QString& text, const QString& title, Buttons buttons = Buttons::Ok);

// A modal input box with a prompt, a title and a starting text in its edit line.
// Returns the edited line, or none when the user cancels.
std::optional<QString> AskText(QWidget* parent, const QString& prompt, const QString& title,
                               const QString& initial);

// A modal file dialog for a picture, offering the files of those suffixes ("png", ...). Returns its
// path, or none when the user cancels.
std::optional<QString> AskPicture(QWidget* parent, const QString& title, const QStringList& suffixes);

// One value of a reading to be checked: its caption (序列号, 型号), the part of the picture it
// was read from beside the text read; and, where a box label's reading is compared with it, the
// label's text, with `differs` when the two are not the same.
struct ReadingRow {
    QString caption;
    QImage from;
    QString read;
    QString label;
    bool differs = false;
};
struct ReadingCheck {
    QString verdict; // a line above the rows (机盒一致, 机盒不一致), or empty
    std::vector<ReadingRow> rows;
    bool compared = false; // the label's and the screen's readings side by side, under these captions
    QString labelCaption;
    QString screenCaption;
    QStringList choices; // the buttons' captions; the first one answers Ok, a second one Cancel
};

// A modal box that shows what was read for a check before anything is filled in. Closing it or
// Escape answers Cancel where there is a second button.
Answer CheckReading(QWidget* parent, const QString& title, const ReadingCheck& check);

// What a dialog showed, as a test hook records it.
struct Shown {
    enum class Kind { Message, Input, Picture, Reading } kind = Kind::Message;
    // message text, the prompt of an input box, a file dialog's filter, or a reading's lines: the
    // verdict, then a row a line ("序列号 F1RJP3XYDTWF", compared "序列号 机盒标签 … 手机屏幕 …"),
    // a differing value followed by the marker the box shows
    QString text;
    QString title;
    Buttons buttons = Buttons::Ok;
    QString initial;     // starting text of an input box
    QStringList choices; // a reading's buttons
};

// While a Hook is alive no real dialog appears: each call is recorded and answered
// from the queue (Ok, the starting text for an input box, no picture, when the queue is empty).
// `onShown` runs while the "dialog" is up, before it answers, so tests can do there
// what a user could do during a real modal box.
class Hook {
public:
    Hook();
    ~Hook();
    Hook(const Hook&) = delete;
    Hook& operator=(const Hook&) = delete;

    void QueueAnswer(Answer answer);
    void QueueInput(std::optional<QString> line);
    void QueuePicture(QString path);
    const std::vector<Shown>& shown() const { return m_shown; }
    void clear() { m_shown.clear(); }
    std::function<void(const Shown&)> onShown;

private:
    // Records a box with buttons, lets onShown run and answers it from the queue (Ok when empty,
    // and always for a box with OK alone).
    Answer Reply(Shown shown);
    friend Answer quenlio::dialogs::ShowMessage(QWidget*, const QString&, const QString&, Buttons);
    friend std::optional<QString> quenlio::dialogs::AskText(QWidget*, const QString&, const QString&,
                                                            const QString&);
    friend std::optional<QString> quenlio::dialogs::AskPicture(QWidget*, const QString&, const QStringList&);
    friend Answer quenlio::dialogs::CheckReading(QWidget*, const QString&, const ReadingCheck&);
    std::vector<Shown> m_shown;
    std::vector<QString> m_pictures;
    std::vector<Answer> m_answers;
    std::vector<std::optional<QString>> m_inputs;
};

} // namespace quenlio::dialogs
