#include "shell/application_title.h"

#include "platform/message_boxes.h"

QString ApplicationTitleFor(const QString& productName) {
    QString title = productName;
    while (title.size() > 40) {
        const qsizetype space = title.lastIndexOf(QLatin1Char(' '));
        // A long name without a space would never shrink; it is kept as it is.
        if (space < 0) {
            break;
        }
        title.truncate(space);
    }
    return title;
}

void SetApplicationTitle(MessageBoxes& messages) {
    messages.setApplicationTitle(ApplicationTitleFor(kProductName));
}
