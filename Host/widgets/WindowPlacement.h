#pragma once

class QWidget;

// Where the activity windows appear: over the main window, and always wholly
// on its screen.
void PlaceCentred(QWidget* window, const QWidget* mainWindow);
// Centred across, with the window's bottom edge on the main window's.
void PlaceBottomAligned(QWidget* window, const QWidget* mainWindow);
