/* Quorvane skin: a light, flat look for the main window.
   The window sets skinControls, skinRoundedCorners and skinHoverEffects when it applies the
   skin; the rules below select on them. Fonts and sizes stay as the window was designed. */

QWidget[skinControls="true"] {
    background-color: #f3f5f9;
    color: #1f2a37;
}

QWidget[skinControls="true"] QGroupBox {
    background-color: #ffffff;
    border: 1px solid #d5dce6;
    margin-top: 8px;
    padding-top: 4px;
}

QWidget[skinControls="true"] QGroupBox::title {
    subcontrol-origin: margin;
    subcontrol-position: top left;
    left: 10px;
    padding: 0px 4px;
    color: #2457a6;
    background-color: #f3f5f9;
}

QWidget[skinControls="true"] QLineEdit,
QWidget[skinControls="true"] LineBox {
    background-color: #ffffff;
    border: 1px solid #c3ccd9;
    padding: 1px 6px;
    selection-background-color: #2f6fd6;
    selection-color: #ffffff;
}

QWidget[skinControls="true"] QLineEdit:focus,
QWidget[skinControls="true"] LineBox:focus {
    border: 1px solid #2f6fd6;
}

QWidget[skinControls="true"] QPushButton {
    background-color: #ffffff;
    border: 1px solid #c3ccd9;
    color: #1f2a37;
    padding: 2px 10px;
}

QWidget[skinControls="true"] QPushButton:pressed {
    background-color: #d3e2fa;
    border-color: #2457a6;
}

QWidget[skinControls="true"] QPushButton:disabled {
    color: #9aa5b4;
    background-color: #eef1f5;
}

QWidget[skinControls="true"] QPushButton:focus {
    border: 1px solid #2f6fd6;
}

QWidget[skinControls="true"] QTableView,
QWidget[skinControls="true"] ReportList {
    background-color: #ffffff;
    alternate-background-color: #f7f9fc;
    border: 1px solid #c3ccd9;
    gridline-color: #e6ebf2;
    selection-background-color: #2f6fd6;
    selection-color: #ffffff;
}

QWidget[skinControls="true"] QHeaderView {
    background-color: #e9eef6;
    border: none;
}

QWidget[skinControls="true"] QHeaderView::section {
    background-color: #e9eef6;
    color: #2457a6;
    border: none;
    border-bottom: 1px solid #c3ccd9;
    border-right: 1px solid #d5dce6;
    padding: 2px 6px;
}

QWidget[skinControls="true"] QProgressBar {
    background-color: #ffffff;
    border: 1px solid #c3ccd9;
    color: #1f2a37;
    text-align: center;
}

QWidget[skinControls="true"] QProgressBar::chunk {
    background-color: #7fb0f0;
}

/* Rounded corners. */
QWidget[skinRoundedCorners="true"] QGroupBox { border-radius: 6px; }
QWidget[skinRoundedCorners="true"] QGroupBox::title { border-radius: 3px; }
QWidget[skinRoundedCorners="true"] QLineEdit,
QWidget[skinRoundedCorners="true"] LineBox { border-radius: 4px; }
QWidget[skinRoundedCorners="true"] QPushButton { border-radius: 5px; }
QWidget[skinRoundedCorners="true"] QTableView,
QWidget[skinRoundedCorners="true"] ReportList { border-radius: 4px; }
QWidget[skinRoundedCorners="true"] QProgressBar { border-radius: 5px; }
QWidget[skinRoundedCorners="true"] QProgressBar::chunk { border-radius: 4px; }

/* The button under the pointer lights up. */
QWidget[skinHoverEffects="true"] QPushButton:hover {
    background-color: #e8f0fc;
    border-color: #2f6fd6;
    color: #2457a6;
}
QWidget[skinHoverEffects="true"] QPushButton:pressed {
    background-color: #d3e2fa;
}
