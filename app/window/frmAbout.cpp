#include "app/window/frmAbout.h"

#include "app/edit/EditIcons.h"

#include <QFont>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

namespace {

constexpr int IconPixels = 32;

// "Times New Roman" where it is installed; a metric-compatible or plain serif face elsewhere.
QFont TitleFont(qreal points)
{
    QFont font;
    font.setFamilies({"Times New Roman", "Liberation Serif", "DejaVu Serif"});
    font.setStyleHint(QFont::Serif);
    font.setBold(true);
    font.setPointSizeF(points);
    return font;
}

} // namespace

frmAbout::frmAbout(QWidget *parent)
    : QDialog(parent), m_picIcon(new QLabel(this)), m_lblTitle(new QLabel(this)),
      m_lblVersion(new QLabel(this)), m_cmdOK(new QPushButton("OK", this))
{
    BuildControls();
    Form_Load();
}

QString frmAbout::VersionText()
{
    return QString("Ver. %1.%2.%3")
        .arg(BRINDLEWICK_VERSION_MAJOR)
        .arg(BRINDLEWICK_VERSION_MINOR)
        .arg(BRINDLEWICK_VERSION_PATCH);
}

void frmAbout::BuildControls()
{
    setObjectName("frmAbout");
    setWindowTitle("ﾊﾞｰｼﾞｮﾝ情報 Brindlewick");
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    m_picIcon->setObjectName("picIcon");
    m_lblTitle->setObjectName("lblTitle");
    m_lblVersion->setObjectName("lblVersion");
    m_cmdOK->setObjectName("cmdOK");
    m_cmdOK->setDefault(true);
    m_picIcon->setPixmap(app::EditIcon("brindlewick").pixmap(IconPixels, IconPixels));
    m_picIcon->setAlignment(Qt::AlignTop);
    m_lblTitle->setFont(TitleFont(20.25));
    m_lblVersion->setFont(TitleFont(14.25));

    auto *grid = new QGridLayout(this);
    grid->setContentsMargins(16, 16, 16, 12);
    grid->setHorizontalSpacing(16);
    grid->addWidget(m_picIcon, 0, 0, 2, 1);
    grid->addWidget(m_lblTitle, 0, 1);
    grid->addWidget(m_lblVersion, 1, 1);
    grid->setRowMinimumHeight(2, 12);
    grid->addWidget(m_cmdOK, 3, 1, Qt::AlignRight);
    grid->setColumnStretch(1, 1);
    setMinimumWidth(340);
    connect(m_cmdOK, &QPushButton::clicked, this, &frmAbout::cmdOK_Click);
}

void frmAbout::Form_Load()
{
    m_lblTitle->setText("Brindlewick");
    m_lblVersion->setText(VersionText());
}

void frmAbout::cmdOK_Click()
{
    accept();
}
