#pragma once
// Where everything of the answer dialog goes, from the sizes of its texts. Plain C++ so the
// layout can be checked without a window; all values are pixels of the client area.

#include <optional>
#include <vector>

namespace jubilora {

struct GeometrySize {
  int width = 0;
  int height = 0;
  friend bool operator==(const GeometrySize&, const GeometrySize&) = default;
};

struct GeometryRect {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
  int Right() const { return left + width; }
  int Bottom() const { return top + height; }
  friend bool operator==(const GeometryRect&, const GeometryRect&) = default;
};

struct AnswerTextSizes {
  GeometrySize message;               // the whole message, all its lines
  std::vector<GeometrySize> captions;  // one per button, top to bottom, access-key marks left out
  bool hasIcon = false;
};

struct AnswerGeometry {
  GeometryRect frame;
  std::optional<GeometryRect> icon;
  GeometryRect label;
  GeometrySize button;  // every button has this size
  std::vector<GeometryRect> buttons;
  GeometrySize client;
};

AnswerGeometry ComputeAnswerGeometry(const AnswerTextSizes& sizes);

}  // namespace jubilora
