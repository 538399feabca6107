#pragma once

#include <QString>

// The message texts of the loaded language; empty until a language file
// has been read, so an error then shows its bare code.
struct MessageTexts {
    QString MsgNoBoxIp;
    QString MsgNoUserId;
    QString MsgErrorPrefix;
    QString MsgBackupSavedHead;
    QString MsgBackupSavedMid;
    QString MsgNoMtdSelected;
    QString MsgNoTftpImage;
    QString MsgTimerFileUnreadable;
    QString MsgTimerUploaded;
    QString MsgRecordingRunning;

    QString error(int code) const { return MsgErrorPrefix + QString::number(code); }
};

// The window-wide texts that outlive any one handler. The main window owns
// one instance for the whole run and hands it to every page controller.
struct WindowState {
    QString JobCode;
    QString PromptTally;
    QString TargetMtd;
    QString LanguageName;
    QString TimerUploadMode;
    MessageTexts messages;
};
