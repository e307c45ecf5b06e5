#pragma once

#include <QColor>
#include <QDialog>

#include <functional>

class LineSample;
class QPushButton;
class QRadioButton;

// "Edit Line Style": the style, weight and colour of one data set's line.
// Broken styles exist only for one-unit lines.
class frmEditDataSet : public QDialog {
    Q_OBJECT
public:
    // Asks for a colour, starting from the current one; invalid when cancelled.
    using ColourSource = std::function<QColor(const QColor& current, QWidget* parent)>;

    explicit frmEditDataSet(QWidget* parent = nullptr);

    void setColourSource(ColourSource source);

    // Fills the controls, shows the dialog modally and, when it is accepted,
    // writes the choices back. True when accepted.
    bool edit(int& style, int& weight, QColor& colour);

    void DrawSample();
    void chooseColour();

private:
    int selectedStyle() const;
    int selectedWeight() const;
    void weightChosen(int weight);
    void setColour(const QColor& colour);

    QRadioButton* optStyle[5] = {};
    LineSample* lblStyle[5] = {};
    QRadioButton* optWeight[6] = {}; // 1 to 5
    LineSample* lblWeight[6] = {};
    QPushButton* pbxColour = nullptr;
    LineSample* pbxSample = nullptr;
    QColor m_colour;
    ColourSource m_colourSource;
};
