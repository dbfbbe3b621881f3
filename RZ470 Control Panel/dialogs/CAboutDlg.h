#pragma once

#include <QDialog>
#include <QString>

class QLabel;
class QPushButton;

// The About box: the icon, the program's name and version, one line about the product, OK.
class CAboutDlg : public QDialog {
    Q_OBJECT

public:
    static constexpr const char* kCaption = "About Kynex ORVANE Control Panel";
    static constexpr const char* kVersionLine = "ORVANE Control Panel, Version %1";
    static constexpr const char* kSecondLine = "Nine-channel LED light source control";

    explicit CAboutDlg(QWidget* parent = nullptr);

    QString m_version;  // set by the creator before showing

    // Writes the version line. Runs each time the box is shown.
    void InitDialog();

    QLabel* versionLabel() const { return version_; }
    QLabel* secondLabel() const { return second_; }
    QPushButton* okButton() const { return ok_; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    QLabel* version_;
    QLabel* second_;
    QPushButton* ok_;
};
