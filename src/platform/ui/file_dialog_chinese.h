// The file dialog's list in Chinese whatever the system's locale: Qt's own
// translation leaves the type column's "Folder" and "xls File" in English,
// and the date column follows the system locale (English under LANG=C).
#pragma once

class QFileDialog;

// Gives `dialog` a view of its files with Chinese types and dates. Call
// before the dialog is shown.
void ShowFileListInChinese(QFileDialog& dialog);
