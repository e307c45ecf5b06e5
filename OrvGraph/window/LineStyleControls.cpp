#include "LineStyleControls.h"

#include "LinePen.h"

#include <QGridLayout>
#include <QKeyEvent>
#include <QPainter>
#include <QRadioButton>

namespace {
constexpr int kStyles = 5;
constexpr QSize kSampleSize(60, 16);
} // namespace

QString lineStyleName(int style) {
    static const QString names[kStyles] = {QStringLiteral("Solid"), QStringLiteral("Dash"),
                                           QStringLiteral("Dot"), QStringLiteral("Dash-Dot"),
                                           QStringLiteral("Dash-Dot-Dot")};
    return names[std::clamp(style, 0, kStyles - 1)];
}

LineSample::LineSample(QWidget* parent) : QWidget(parent) {
    setMinimumSize(kSampleSize);
    setFocusPolicy(Qt::StrongFocus);
    setAccessibleName(lineStyleName(m_style));
}

void LineSample::setLine(int style, int weight, QColor colour) {
    m_style = style;
    m_weight = weight;
    m_colour = colour;
    setAccessibleName(lineStyleName(style));
    update();
}

void LineSample::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), isEnabled() ? Qt::white : palette().color(QPalette::Window));
    painter.setPen(
        linePen(isEnabled() ? m_colour : palette().color(QPalette::Disabled, QPalette::Text),
                m_weight, m_style));
    painter.drawLine(0, height() / 2, width(), height() / 2);
    if (hasFocus()) {
        painter.setPen(QPen(palette().color(QPalette::Highlight), 1, Qt::DotLine));
        painter.drawRect(rect().adjusted(0, 0, -1, -1));
    }
}

void LineSample::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        emit clicked();
}

void LineSample::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        emit activated();
}

void LineSample::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Space:
        emit clicked();
        break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        emit activated();
        break;
    default:
        QWidget::keyPressEvent(event);
    }
}

GridGroup::GridGroup(const QString& title, const QString& prefix, QWidget* parent)
    : QGroupBox(title, parent) {
    setObjectName(QStringLiteral("fra") + prefix);
    auto* layout = new QGridLayout(this);
    auto* none = new QRadioButton(QStringLiteral("None"), this);
    none->setObjectName(QStringLiteral("opt%1%2").arg(prefix).arg(0));
    layout->addWidget(none, 0, 0, 1, 2);
    m_options << none;
    for (int style = 0; style < kStyles; ++style) {
        const int index = style + 1;
        auto* option = new QRadioButton(this);
        option->setObjectName(QStringLiteral("opt%1%2").arg(prefix).arg(index));
        option->setAccessibleName(lineStyleName(style));
        auto* sample = new LineSample(this);
        sample->setObjectName(QStringLiteral("lbl%1Line%2").arg(prefix).arg(index));
        sample->setLine(style, 1, Qt::black);
        sample->setFocusPolicy(Qt::NoFocus);
        connect(sample, &LineSample::clicked, option, [option] { option->setChecked(true); });
        layout->addWidget(option, index, 0);
        layout->addWidget(sample, index, 1);
        m_options << option;
    }
    none->setChecked(true);
}

int GridGroup::gridStyle() const {
    for (int i = 0; i < m_options.size(); ++i) {
        if (m_options[i]->isChecked())
            return i - 1;
    }
    return -1;
}

void GridGroup::setGridStyle(int style) {
    m_options[std::clamp(style + 1, 0, int(m_options.size()) - 1)]->setChecked(true);
}
