#include "platform/qt/qt_message_boxes.h"

#include "platform/event_pump.h"
#include "widgets/line_box/line_box.h"

#include <QApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFont>
#include <QFontMetrics>
#include <QLabel>
#include <QLayout>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
// A window manager cuts a title that does not fit beside the buttons of its frame, and a message
// box is no wider than its text and buttons: the title of "Done." would show as a dot. The title
// bar's font is the window manager's own; Qt's stand-in for it, in bold as most themes draw
// titles, measures the title. Beside it the bar holds the window's icon and its minimise,
// maximise and close buttons, each about as wide as the bar is high (one and a half lines),
// and paddings of about two lines in all: eight lines. (With Debian's default fonts, openbox's
// default theme needs 170 px for "Quorvane"; this gives it 177.)
int WidthForTitle(const QString& title) {
    QFont font = QApplication::font("QMdiSubWindowTitleBar");
    font.setBold(true);
    const QFontMetrics metrics(font);
    return metrics.horizontalAdvance(title) + 8 * metrics.height();
}

// The box fixes its own size from its layout as it shows, so the row of buttons, which spans
// the box, is what is made wider.
void WidenForTitle(QMessageBox& box) {
    auto* buttonRow = box.findChild<QDialogButtonBox*>();
    if (buttonRow == nullptr || box.layout() == nullptr) {
        return;
    }
    const QMargins margins = box.layout()->contentsMargins();
    buttonRow->setMinimumWidth(WidthForTitle(box.windowTitle()) - margins.left() - margins.right());
}
}  // namespace

QString QtMessageBoxes::displayText(const QString& text) {
    QString shown = text;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    shown.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return shown;
}

MessageAnswer QtMessageBoxes::show(const QString& text, MessageButtons buttons, MessageIcon icon,
                                   const QString& title) {
    const bool yesNo = buttons == MessageButtons::YesNo;
    const bool leaveStay = buttons == MessageButtons::LeaveStay;
    if (pump_.programEnding()) {
        // Nothing is asked any more.
        return yesNo || leaveStay ? MessageAnswer::No : MessageAnswer::Ok;
    }
    QMessageBox box(icon == MessageIcon::Warning ? QMessageBox::Warning : QMessageBox::NoIcon,
                    titleOrApplicationTitle(title), displayText(text),
                    yesNo       ? (QMessageBox::Yes | QMessageBox::No)
                    : leaveStay ? QMessageBox::NoButton
                                : QMessageBox::Ok,
                    QApplication::activeWindow());
    box.setTextFormat(Qt::PlainText);
    QPushButton* leave = nullptr;
    if (leaveStay) {
        leave = box.addButton(QStringLiteral("Leave"), QMessageBox::AcceptRole);
        // Enter or Escape pressed out of habit keeps the work.
        QPushButton* stay = box.addButton(QStringLiteral("Stay"), QMessageBox::RejectRole);
        box.setDefaultButton(stay);
        box.setEscapeButton(stay);
    } else {
        box.setDefaultButton(yesNo ? QMessageBox::Yes : QMessageBox::Ok);
    }
    WidenForTitle(box);
    const int answer = box.exec();
    if (leaveStay) {
        return box.clickedButton() == leave ? MessageAnswer::Yes : MessageAnswer::No;
    }
    if (!yesNo) {
        return MessageAnswer::Ok;
    }
    return answer == QMessageBox::Yes ? MessageAnswer::Yes : MessageAnswer::No;
}

bool QtMessageBoxes::runDialog(QDialog& dialog) {
    return !pump_.programEnding() && dialog.exec() == QDialog::Accepted;
}

QString QtMessageBoxes::askLine(const QString& prompt, const QString& title,
                                const QString& defaultAnswer) {
    if (pump_.programEnding()) {
        return QString();
    }
    QDialog dialog(QApplication::activeWindow());
    dialog.setWindowTitle(titleOrApplicationTitle(title));
    auto* layout = new QVBoxLayout(&dialog);
    auto* label = new QLabel(prompt, &dialog);
    label->setTextFormat(Qt::PlainText);
    auto* line = new LineBox(&dialog);
    line->setText(defaultAnswer);
    line->setAccessibleName(prompt.trimmed());
    label->setBuddy(line);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    layout->addWidget(label);
    layout->addWidget(line);
    layout->addWidget(buttons);
    dialog.resize(420, dialog.sizeHint().height());
    line->setFocus();
    if (dialog.exec() != QDialog::Accepted) {
        return QString();
    }
    return line->text();
}
