#pragma once

#include "GraphData.h"

// A logger's rows follow one another closely: its timers pause a run for a
// week at most. A row whose date lies far from the rows on both sides of it,
// while they lie close together, has a damaged date (a year or month the
// logger's memory lost); drawn at that date it would stretch the time axis over
// years.

// Whether two row times lie too far apart to be neighbouring rows of one run.
bool farApart(double time, double otherTime);

// Takes out the rows whose time lies far from the rows on both sides of it;
// returns how many. The first and last rows are kept.
int leaveOutStrayRows(GraphData& data);
