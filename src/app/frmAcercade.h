#pragma once

#include "platform/Form.h"

class QLabel;
class QPushButton;

namespace platform {
class Picture;
}

// The About box: title, version and description with the logo, and a button
// that starts the system-information program.
class frmAcercade : public platform::Form {
    Q_OBJECT
public:
    frmAcercade();

    void Form_Load() override;
    void Form_Activate() override;

    platform::Picture* imgAcerca;
    QLabel* lblTitle;
    QLabel* lblVersion;
    QLabel* lblDescription;
    QLabel* lblDisclaimer;
    QPushButton* cmdOK;
    QPushButton* cmdSysInfo;

    void cmdOK_Click();
    void cmdSysInfo_Click();
    void StartSysInfo();
    // Reads one registry value into `KeyVal`; false when it is not there.
    static bool GetKeyValue(const QString& KeyRoot, const QString& KeyName, const QString& SubKeyRef, QString& KeyVal);
};
