// Shared by the tests of the main window's model and commands: a
// PaletteWindowView that keeps the state a window would be left in.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "app/palette_model.h"

namespace tabcard::testing {

// The state a window would be left in, and how many changes it was asked
// for (a refill that shows the same thing still counts).
class FakeView : public PaletteWindowView {
 public:
  void SetGridGeometry(int page, int cols, int rows, int colWidth, int rowHeight) override {
    ++changes;
    geometry[page] = {cols, rows, colWidth, rowHeight};
  }
  void SetGridFont(int page, const GridFont& font) override {
    ++changes;
    fonts[page] = font;
  }
  void SetGridColumns(int page, int cols, int colWidth) override {
    ++changes;
    columns[page] = {cols, colWidth};
  }
  int GridClientWidth(int page) const override { return clientWidth[page]; }
  void SetGridCells(int page, const CellTexts& c) override {
    ++changes;
    cells[page] = Rows(c);
  }
  void SetGridMarks(int page, const CellTexts& m) override {
    ++changes;
    marks[page] = Rows(m);
  }
  void SetCellText(int page, GridCell cell, const std::string& text) override {
    ++changes;
    cells[page].at(cell.row).at(cell.col) = text;
  }
  int PageControlWidth() const override { return pageControlWidth; }
  void SetTabWidth(int width) override {
    ++changes;
    tabWidth = width;
  }
  int ActivePage() const override { return page; }
  void SetActivePage(int p) override {
    ++changes;
    page = p;
  }
  WindowBounds Bounds() const override { return bounds; }
  void SetBounds(const WindowBounds& b) override {
    ++changes;
    bounds = b;
  }
  bool IsVisible() const override { return visible; }
  void ShowWindow() override {
    ++changes;
    visible = true;
  }
  void HideWindow() override {
    ++changes;
    visible = false;
  }
  void SetTopMost(bool on) override {
    ++changes;
    topMost = on;
  }
  bool TrayIconShown() const override { return trayIcon; }
  void ScreenSize(std::int32_t* w, std::int32_t* h) const override {
    *w = 1280;
    *h = 1024;
  }
  std::vector<MonitorRect> Monitors() const override { return monitors; }

  struct Geometry {
    int cols, rows, colWidth, rowHeight;
  };
  struct Columns {
    int cols, width;
  };
  std::array<Geometry, 4> geometry{};
  std::array<GridFont, 4> fonts{};
  std::array<Columns, 4> columns{};
  std::array<int, 4> clientWidth{110, 110, 110, 110};
  std::array<std::vector<std::vector<std::string>>, 4> cells;
  std::array<std::vector<std::vector<std::string>>, 4> marks;
  int pageControlWidth = 118;
  int tabWidth = -1;
  int page = kPageKojin2;  // the sheet active when the window is built
  WindowBounds bounds{0, 0, 126, 166};
  bool visible = false;
  bool topMost = true;
  bool trayIcon = true;
  std::vector<MonitorRect> monitors{{0, 0, 1280, 1024}};
  int changes = 0;

 private:
  static std::vector<std::vector<std::string>> Rows(const CellTexts& c) {
    std::vector<std::vector<std::string>> rows;
    for (int r = 0; r < c.Rows(); ++r) {
      std::vector<std::string> row;
      for (int col = 0; col < c.Cols(); ++col) row.push_back(c.At(col, r));
      rows.push_back(row);
    }
    return rows;
  }
};

}  // namespace tabcard::testing
