#include "frmEditDataSet.h"

#include "DialogButtons.h"
#include "LineStyleControls.h"

#include <QColorDialog>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

namespace {
constexpr int kStyles = 5;
constexpr int kWeights = 5;
} // namespace

frmEditDataSet::frmEditDataSet(QWidget* parent)
    : QDialog(parent), m_colourSource([](const QColor& current, QWidget* owner) {
          return QColorDialog::getColor(current, owner);
      }) {
    setObjectName(QStringLiteral("frmEditDataSet"));
    setWindowTitle(QStringLiteral("Edit Line Style"));
    auto* layout = new QGridLayout(this);

    auto* styles = new QGroupBox(QStringLiteral("Line Style"), this);
    auto* stylesLayout = new QGridLayout(styles);
    for (int i = 0; i < kStyles; ++i) {
        optStyle[i] = new QRadioButton(styles);
        optStyle[i]->setObjectName(QStringLiteral("optStyle%1").arg(i));
        optStyle[i]->setAccessibleName(lineStyleName(i));
        lblStyle[i] = new LineSample(styles);
        lblStyle[i]->setObjectName(QStringLiteral("lblStyle%1").arg(i));
        lblStyle[i]->setLine(i, 1, Qt::black);
        lblStyle[i]->setFocusPolicy(Qt::NoFocus);
        connect(optStyle[i], &QRadioButton::toggled, this, [this](bool on) {
            if (on)
                DrawSample();
        });
        connect(lblStyle[i], &LineSample::clicked, optStyle[i], [this, i] {
            if (optStyle[i]->isEnabled())
                optStyle[i]->setChecked(true);
        });
        stylesLayout->addWidget(optStyle[i], i, 0);
        stylesLayout->addWidget(lblStyle[i], i, 1);
    }
    layout->addWidget(styles, 0, 0, 3, 1);

    auto* weights = new QGroupBox(QStringLiteral("Line Weight"), this);
    auto* weightsLayout = new QGridLayout(weights);
    for (int w = 1; w <= kWeights; ++w) {
        optWeight[w] = new QRadioButton(weights);
        optWeight[w]->setObjectName(QStringLiteral("optWeight%1").arg(w));
        optWeight[w]->setAccessibleName(QStringLiteral("Weight %1").arg(w));
        lblWeight[w] = new LineSample(weights);
        lblWeight[w]->setObjectName(QStringLiteral("lblWeight%1").arg(w));
        lblWeight[w]->setLine(0, w, Qt::black);
        lblWeight[w]->setAccessibleName(QStringLiteral("Weight %1").arg(w));
        lblWeight[w]->setFocusPolicy(Qt::NoFocus);
        connect(optWeight[w], &QRadioButton::toggled, this, [this, w](bool on) {
            if (on)
                weightChosen(w);
        });
        connect(lblWeight[w], &LineSample::clicked, optWeight[w],
                [this, w] { optWeight[w]->setChecked(true); });
        weightsLayout->addWidget(optWeight[w], w, 0);
        weightsLayout->addWidget(lblWeight[w], w, 1);
    }
    layout->addWidget(weights, 0, 1, 3, 1);

    auto* colourLabel = new QLabel(QStringLiteral("&Colour:"), this);
    pbxColour = new QPushButton(this);
    pbxColour->setObjectName(QStringLiteral("pbxColour"));
    pbxColour->setAccessibleName(QStringLiteral("Colour:"));
    colourLabel->setBuddy(pbxColour);
    connect(pbxColour, &QPushButton::clicked, this, &frmEditDataSet::chooseColour);
    auto* sampleLabel = new QLabel(QStringLiteral("Sample:"), this);
    pbxSample = new LineSample(this);
    pbxSample->setObjectName(QStringLiteral("pbxSample"));
    pbxSample->setFocusPolicy(Qt::NoFocus);
    layout->addWidget(colourLabel, 0, 2);
    layout->addWidget(pbxColour, 0, 3);
    layout->addWidget(sampleLabel, 1, 2);
    layout->addWidget(pbxSample, 1, 3);

    QDialogButtonBox* buttons = OkCancelButtons(this);
    layout->addWidget(buttons, 3, 0, 1, 4);
}

void frmEditDataSet::setColourSource(ColourSource source) {
    m_colourSource = std::move(source);
}

bool frmEditDataSet::edit(int& style, int& weight, QColor& colour) {
    setColour(colour);
    optWeight[std::clamp(weight, 1, kWeights)]->setChecked(true);
    weightChosen(selectedWeight());
    optStyle[std::clamp(style, 0, kStyles - 1)]->setChecked(true);
    weightChosen(selectedWeight());
    if (exec() != QDialog::Accepted)
        return false;
    style = selectedStyle();
    weight = selectedWeight();
    colour = m_colour;
    return true;
}

int frmEditDataSet::selectedStyle() const {
    for (int i = 0; i < kStyles; ++i) {
        if (optStyle[i]->isChecked())
            return i;
    }
    return 0;
}

int frmEditDataSet::selectedWeight() const {
    for (int w = 1; w <= kWeights; ++w) {
        if (optWeight[w]->isChecked())
            return w;
    }
    return 1;
}

void frmEditDataSet::weightChosen(int weight) {
    const bool broken = weight == 1;
    if (!broken)
        optStyle[0]->setChecked(true);
    for (int i = 1; i < kStyles; ++i) {
        // A disabled sample draws in the grey of disabled text.
        optStyle[i]->setEnabled(broken);
        lblStyle[i]->setEnabled(broken);
    }
    DrawSample();
}

void frmEditDataSet::setColour(const QColor& colour) {
    m_colour = colour;
    pbxColour->setStyleSheet(QStringLiteral("background-color: %1").arg(colour.name()));
}

void frmEditDataSet::chooseColour() {
    const QColor chosen = m_colourSource(m_colour, this);
    if (chosen.isValid())
        setColour(chosen);
    DrawSample();
}

void frmEditDataSet::DrawSample() {
    pbxSample->setLine(selectedStyle(), selectedWeight(), m_colour);
}
