#include "AboutDialog.h"

#include "Images.h"
#include "ui_AboutDialog.h"

namespace
{
constexpr int kIconSize = 48;
}

CAboutDialog::CAboutDialog(QWidget *pParent)
    : QDialog(pParent), m_pUi(std::make_unique<Ui::CAboutDialog>())
{
    m_pUi->setupUi(this);
    m_pUi->iconLabel->setPixmap(AppIcon().pixmap(kIconSize, kIconSize));
}

CAboutDialog::~CAboutDialog() = default;
