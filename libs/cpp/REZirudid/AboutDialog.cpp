#include "REZirudid/AboutDialog.h"

#include "REZirudid/Common.h"
#include "REZirudid/FrameworkFaces.h"
#include "REZirudid/Links.h"

#include <QCoreApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTextBrowser>
#include <QVBoxLayout>

#ifndef TONARIX_BUILD_DATE
#define TONARIX_BUILD_DATE __DATE__
#endif

namespace REZirudid {

AboutDialog::AboutDialog(QWidget* parent)
    : QDialog(parent)
{
    const QString name = QCoreApplication::applicationName();
    setObjectName(QStringLiteral("AboutDialog"));
    setWindowTitle(name + QStringLiteral(" Info"));

    QLabel* logo = new QLabel;
    logo->setObjectName(QStringLiteral("LogoLabel"));
    logo->setFixedSize(Faces::kLogoSize, Faces::kLogoSize);

    QLabel* build = new QLabel(name + QStringLiteral(" Build: ") + buildDate());
    build->setObjectName(QStringLiteral("BuildLabel"));
    build->setAlignment(Qt::AlignHCenter);
    QFont bold = build->font();
    bold.setBold(true);
    build->setFont(bold);

    QLabel* credit = new QLabel(
        Links::makerCredit() + "<br><small>"
        + tr("Copyright &copy; %1 Vantrel. All rights reserved.").arg(buildDate().left(4))
        + "</small>");
    credit->setTextFormat(Qt::RichText);
    credit->setObjectName(QStringLiteral("CreditLabel"));
    credit->setAlignment(Qt::AlignHCenter);
    credit->setWordWrap(true);

    QLabel* link = new QLabel(QStringLiteral("<a href=\"%1\" style=\"color:#7fd0de\">%2</a>")
                                  .arg(Links::makerSite(), Links::makerHost()));
    link->setObjectName(QStringLiteral("LinkLabel"));
    link->setAlignment(Qt::AlignHCenter);
    link->setTextFormat(Qt::RichText);
    link->setOpenExternalLinks(true);

    QPushButton* legal = new QPushButton(tr("&Legal Notices"));
    legal->setObjectName(QStringLiteral("PushButton"));
    Common::fitPushButton(legal);
    legal->setAutoDefault(false);
    connect(legal, &QPushButton::clicked, this, &AboutDialog::slotLegalNotices);
    QPushButton* ok = new QPushButton(tr("&Ok"));
    ok->setObjectName(QStringLiteral("PushButton"));
    Common::fitPushButton(ok);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    QHBoxLayout* buttons = new QHBoxLayout;
    buttons->addWidget(legal);
    buttons->addStretch(1);
    buttons->addWidget(ok);

    QVBoxLayout* layout = new QVBoxLayout(this);
    layout->setContentsMargins(20, 20, 20, 14);
    layout->setSpacing(8);
    layout->addWidget(logo, 0, Qt::AlignHCenter);
    layout->addSpacing(6);
    layout->addWidget(build);
    layout->addWidget(credit);
    layout->addWidget(link);
    layout->addSpacing(8);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

QString AboutDialog::buildDate()
{
    return QStringLiteral(TONARIX_BUILD_DATE);
}

QString AboutDialog::legalNotices()
{
    return tr(
        "<h3>Legal Notices</h3>"
        "<p><b>Qt 5</b> &mdash; Copyright The Qt Company Ltd. and other contributors. Used under "
        "the GNU Lesser General Public License version 3 (LGPL-3.0). The source code of Qt is "
        "available from the Qt Project and from Debian (packages qtbase-opensource-src, "
        "qtmultimedia-opensource-src). You may replace the Qt libraries this program links "
        "against.</p>"
        "<p><b>DejaVu fonts</b> (DejaVu Sans), drawn into the program's pictures &mdash; "
        "Copyright Bitstream, Inc. (Bitstream Vera) and the DejaVu changes in the public domain. "
        "Used under the Bitstream Vera Fonts licence, a free licence that allows use, copying, "
        "modification and distribution.</p>"
        "<p><b>GNU FreeFont</b> (FreeSerif), music and text glyphs in the program's pictures "
        "&mdash; Copyright Free Software Foundation, Inc. Used under the GNU General Public "
        "License version 3 or later, with the font exception.</p>"
        "<p><b>Noto fonts</b> (Noto Music, Noto Sans), music symbols in the program's pictures "
        "&mdash; Copyright Google LLC and the Noto Project Authors. Used under the SIL Open Font "
        "License, version 1.1.</p>"
        "<p><b>FluidR3_GM SoundFont</b>, from which the instrument sounds are rendered (Debian "
        "package fluid-soundfont-gm) &mdash; Copyright Frank Wen and contributors. Used under "
        "the MIT licence:</p>"
        "<p><small>Permission is hereby granted, free of charge, to any person obtaining a copy of "
        "this software and associated documentation files (the \"Software\"), to deal in the "
        "Software without restriction, including without limitation the rights to use, copy, "
        "modify, merge, publish, distribute, sublicense, and/or sell copies of the Software, and "
        "to permit persons to whom the Software is furnished to do so, subject to the following "
        "conditions: The above copyright notice and this permission notice shall be included in "
        "all copies or substantial portions of the Software. THE SOFTWARE IS PROVIDED \"AS IS\", "
        "WITHOUT WARRANTY OF ANY KIND, EXPRESS OR IMPLIED, INCLUDING BUT NOT LIMITED TO THE "
        "WARRANTIES OF MERCHANTABILITY, FITNESS FOR A PARTICULAR PURPOSE AND NONINFRINGEMENT. IN "
        "NO EVENT SHALL THE AUTHORS OR COPYRIGHT HOLDERS BE LIABLE FOR ANY CLAIM, DAMAGES OR "
        "OTHER LIABILITY, WHETHER IN AN ACTION OF CONTRACT, TORT OR OTHERWISE, ARISING FROM, OUT "
        "OF OR IN CONNECTION WITH THE SOFTWARE OR THE USE OR OTHER DEALINGS IN THE "
        "SOFTWARE.</small></p>");
}

void AboutDialog::slotLegalNotices()
{
    QDialog notices(this);
    notices.setObjectName(QStringLiteral("Dialog"));
    notices.setWindowTitle(tr("Legal Notices"));
    QTextBrowser* text = new QTextBrowser;
    text->setObjectName(QStringLiteral("LegalNoticesText"));
    text->setOpenExternalLinks(true);
    text->setHtml(legalNotices());
    text->setMinimumSize(460, 360);
    QPushButton* ok = new QPushButton(tr("&Ok"));
    ok->setObjectName(QStringLiteral("PushButton"));
    Common::fitPushButton(ok);
    connect(ok, &QPushButton::clicked, &notices, &QDialog::accept);
    QVBoxLayout* layout = new QVBoxLayout(&notices);
    layout->addWidget(text, 1);
    QHBoxLayout* row = new QHBoxLayout;
    row->addStretch(1);
    row->addWidget(ok);
    layout->addLayout(row);
    notices.exec();
}

} // namespace REZirudid
