#!/usr/bin/env python3
"""The peer most users would reach for: pandas reads a data file, matplotlib
draws every data column as a line to a PNG. Prints the seconds for the
imports, the read and the drawing, one per line, for bench_graph.

Usage: pandas_plot.py FILE SKIP DATEFORMAT PNG WIDTH HEIGHT
  SKIP: the lines before the first data line; DATEFORMAT: strptime's, of the
  date and time fields joined by a blank (%d/%m/%Y %H:%M).
"""
import sys
import time

start = time.perf_counter()
import matplotlib

matplotlib.use("Agg")
import matplotlib.pyplot as plt
import pandas as pd

path, skip, date_format, png = sys.argv[1], int(sys.argv[2]), sys.argv[3], sys.argv[4]
width, height = int(sys.argv[5]), int(sys.argv[6])
imported = time.perf_counter()

data = pd.read_csv(path, skiprows=skip, header=None)
times = pd.to_datetime(data[0] + " " + data[1], format=date_format)
read = time.perf_counter()

figure, axes = plt.subplots(figsize=(width / 100, height / 100), dpi=100)
for column in data.columns[2:]:
    axes.plot(times, data[column], linewidth=1)
figure.savefig(png)
drawn = time.perf_counter()

print(f"{imported - start:.3f}\n{read - imported:.3f}\n{drawn - read:.3f}")
