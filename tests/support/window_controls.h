#pragma once

// The windows keep their controls to themselves; tests and benchmarks reach them the way tools
// do, by object name, which each window gives every control after its member. Only targets that
// link the main window's layer can include this header (it is not compiled into the support
// library).

#include "batch_window/batch_window.h"
#include "list_tidying/results_tidying.h"
#include "main_window/main_window.h"
#include "widgets/line_box/line_box.h"
#include "widgets/progress_bar/progress_bar.h"
#include "widgets/report_list/report_list.h"

#include <QGroupBox>
#include <QPushButton>
#include <QString>

#include <type_traits>

struct MainWindowControls {
    QPushButton* saveResultsButton;
    QPushButton* startSplittingButton;
    QPushButton* clearResultsButton;
    QPushButton* helpButton;
    QPushButton* loadSampleButton;
    QPushButton* copyResultsButton;
    QPushButton* openBatchWindowButton;
    QGroupBox* lineFrame;
    QGroupBox* delimiterFrame;
    LineBox* lineBox;
    LineBox* delimiterBox;
    ReportList* resultsList;
    ResultsTidying* resultsTidying;
    ProgressBar* progressBar;
};

struct BatchWindowControls {
    QPushButton* addLineButton;
    QPushButton* startSplittingButton;
    QPushButton* saveResultsButton;
    QPushButton* loadFilesButton;
    QPushButton* backButton;
    QPushButton* clearInputButton;
    QPushButton* clearResultsButton;
    QPushButton* copyResultsButton;
    QPushButton* featureNoteButton;
    QPushButton* helpButton;
    QPushButton* loadSampleButton;
    QPushButton* saveWorkbookButton;
    QGroupBox* delimiterFrame;
    LineBox* delimiterBox;
    ReportList* inputList;
    ReportList* resultsList;
    ResultsTidying* resultsTidying;
    ProgressBar* progressBar;
};

namespace window_controls_detail {
// A control renamed or of another type stops the run at once, naming it, rather than letting a
// test go on with a null pointer.
template <typename Control>
Control* FindControl(const QWidget& window, const char* name) {
    auto* control = window.findChild<Control*>(QString::fromLatin1(name));
    if (control == nullptr) {
        qFatal("%s has no control named %s", qPrintable(window.objectName()), name);
    }
    return control;
}
}  // namespace window_controls_detail

// Each field is looked up by its own name, so a field cannot reach another control than the one
// its name says.
#define QUORVANE_FIND_CONTROL(field)                                                           \
    .field =                                                                                   \
        window_controls_detail::FindControl<std::remove_pointer_t<decltype(Controls::field)>>( \
            window, #field)

inline MainWindowControls controls(MainWindow& window) {
    using Controls = MainWindowControls;
    return {
        QUORVANE_FIND_CONTROL(saveResultsButton),     QUORVANE_FIND_CONTROL(startSplittingButton),
        QUORVANE_FIND_CONTROL(clearResultsButton),    QUORVANE_FIND_CONTROL(helpButton),
        QUORVANE_FIND_CONTROL(loadSampleButton),      QUORVANE_FIND_CONTROL(copyResultsButton),
        QUORVANE_FIND_CONTROL(openBatchWindowButton), QUORVANE_FIND_CONTROL(lineFrame),
        QUORVANE_FIND_CONTROL(delimiterFrame),        QUORVANE_FIND_CONTROL(lineBox),
        QUORVANE_FIND_CONTROL(delimiterBox),          QUORVANE_FIND_CONTROL(resultsList),
        QUORVANE_FIND_CONTROL(resultsTidying),        QUORVANE_FIND_CONTROL(progressBar),
    };
}

inline BatchWindowControls controls(BatchWindow& window) {
    using Controls = BatchWindowControls;
    return {
        QUORVANE_FIND_CONTROL(addLineButton),      QUORVANE_FIND_CONTROL(startSplittingButton),
        QUORVANE_FIND_CONTROL(saveResultsButton),  QUORVANE_FIND_CONTROL(loadFilesButton),
        QUORVANE_FIND_CONTROL(backButton),         QUORVANE_FIND_CONTROL(clearInputButton),
        QUORVANE_FIND_CONTROL(clearResultsButton), QUORVANE_FIND_CONTROL(copyResultsButton),
        QUORVANE_FIND_CONTROL(featureNoteButton),  QUORVANE_FIND_CONTROL(helpButton),
        QUORVANE_FIND_CONTROL(loadSampleButton),   QUORVANE_FIND_CONTROL(saveWorkbookButton),
        QUORVANE_FIND_CONTROL(delimiterFrame),     QUORVANE_FIND_CONTROL(delimiterBox),
        QUORVANE_FIND_CONTROL(inputList),          QUORVANE_FIND_CONTROL(resultsList),
        QUORVANE_FIND_CONTROL(resultsTidying),     QUORVANE_FIND_CONTROL(progressBar),
    };
}

#undef QUORVANE_FIND_CONTROL
