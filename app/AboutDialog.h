#pragma once

#include <QDialog>
#include <memory>

namespace Ui
{
class CAboutDialog;
}

// Help > About: the program's icon, name and version.
class CAboutDialog : public QDialog
{
    Q_OBJECT

public:
    explicit CAboutDialog(QWidget *pParent);
    ~CAboutDialog() override;

private:
    std::unique_ptr<Ui::CAboutDialog> m_pUi;
};
