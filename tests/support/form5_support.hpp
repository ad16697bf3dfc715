#pragma once
// Helpers for driving the 12-character screen like a user at the keyboard.
#include "support/screen_support.hpp"
#include "ui/form5.hpp"
#include "ui/picture.hpp"

#include <QLineEdit>
#include <QList>
#include <QPushButton>
#include <QString>
#include <QTest>

namespace quenlio::test_support {

// Texts, states and focus of every control of the screen, for telling whether a
// handler changed anything.
struct Form5Snapshot {
    QStringList texts;
    QList<bool> enabled;
    QList<bool> visible;
    QWidget* focus = nullptr;

    bool operator==(const Form5Snapshot&) const = default;

    static Form5Snapshot Take(const Form5& form) {
        Form5Snapshot shot;
        for (QLineEdit* box : {form.Text1, form.Text2, form.Text3, form.Text4, form.Text5, form.Text6,
                               form.Text7, form.Text8, form.Text9, form.Text11}) {
            shot.texts << box->text();
            shot.enabled << box->isEnabled();
        }
        for (QPushButton* button :
             {form.Command1, form.Command2, form.Command3, form.Command6, form.Command7})
            shot.enabled << button->isEnabled();
        for (QWidget* photo : QList<QWidget*>{form.Image1, form.Image3, form.Image4, form.Image5})
            shot.visible << photo->isVisible();
        shot.visible << form.isVisible();
        shot.focus = form.focusWidget();
        return shot;
    }
};

// A serial and a part number typed over what the boxes held, then the query pressed; an
// empty part number leaves the part-number box as the serial left it.
inline void Query(Form5& form, const QString& serial, const QString& partNumber) {
    form.Text1->setFocus();
    form.Text1->selectAll();
    TypeAtFocus(serial);
    if (!partNumber.isEmpty()) {
        form.Text2->selectAll();
        QTest::keyClicks(form.Text2, partNumber);
    }
    Click(form.Command1);
}

} // namespace quenlio::test_support
