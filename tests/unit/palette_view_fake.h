// Shared by the tests of the main window's model and commands: a
// PaletteWindowView that records what it is asked, in order.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "app/palette_model.h"

namespace tabcard::testing {

// Records what the model asks of the window, as a log and as the state a
// window would be left in.
class FakeView : public PaletteWindowView {
 public:
  void SetGridGeometry(int page, int cols, int rows, int colWidth, int rowHeight) override {
    Log("geom" + std::to_string(page));
    geometry[page] = {cols, rows, colWidth, rowHeight};
  }
  void SetGridFont(int page, const GridFont& font) override {
    Log("font" + std::to_string(page));
    fonts[page] = font;
  }
  void SetGridColumns(int page, int cols, int colWidth) override {
    Log("cols" + std::to_string(page));
    columns[page] = {cols, colWidth};
  }
  int GridClientWidth(int page) const override { return clientWidth[page]; }
  void SetGridCells(int page, const CellTexts& c) override {
    Log("cells" + std::to_string(page));
    cells[page].clear();
    for (int r = 0; r < c.Rows(); ++r) {
      std::vector<std::string> row;
      for (int col = 0; col < c.Cols(); ++col) row.push_back(c.At(col, r));
      cells[page].push_back(row);
    }
  }
  void SetCellText(int page, GridCell cell, const std::string& text) override {
    Log("cell" + std::to_string(page) + "(" + std::to_string(cell.col) + "," +
        std::to_string(cell.row) + ")[" + text + "]");
    cells[page].at(cell.row).at(cell.col) = text;
  }
  int PageControlWidth() const override { return pageControlWidth; }
  void SetTabWidth(int width) override {
    Log("tab");
    tabWidth = width;
  }
  int ActivePage() const override { return page; }
  void SetActivePage(int p) override {
    Log("page");
    page = p;
  }
  WindowBounds Bounds() const override { return bounds; }
  void SetBounds(const WindowBounds& b) override {
    Log("bounds");
    bounds = b;
  }
  bool IsVisible() const override { return visible; }
  void ShowWindow() override {
    Log("show");
    visible = true;
  }
  void HideWindow() override {
    Log("hide");
    visible = false;
  }
  void SetTopMost(bool on) override {
    Log(on ? "topmost" : "normal");
    topMost = on;
  }
  bool TrayIconShown() const override { return trayIcon; }
  void ScreenSize(std::int32_t* w, std::int32_t* h) const override {
    *w = 1280;
    *h = 1024;
  }
  std::vector<MonitorRect> Monitors() const override { return monitors; }

  void Log(const std::string& s) { log += (log.empty() ? "" : " ") + s; }

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
  int pageControlWidth = 118;
  int tabWidth = -1;
  int page = kPageKojin2;  // the sheet active when the window is built
  WindowBounds bounds{0, 0, 126, 166};
  bool visible = false;
  bool topMost = true;
  bool trayIcon = true;
  std::vector<MonitorRect> monitors{{0, 0, 1280, 1024}};
  std::string log;
};

}  // namespace tabcard::testing
