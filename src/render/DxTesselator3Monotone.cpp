// Triangles from the regions the sweep closes: each a pair of monotone chains.
#include "render/DxTesselator3.h"

#include <cstdint>

#include "geometry/Planar.h"
#include "render/DxTesselator3Arithmetic.h"

namespace vellmar {

using namespace tesselator;

// Flat triangles cover nothing; they come from points that only the tie-breaking
// shifts kept apart.
void TDxTesselator3::Emit(const TNode* a, const TNode* b, const TNode* c) {
  if (IsCollinear(*a->Point->Point, *b->Point->Point, *c->Point->Point)) return;
  Output.push_back(a->Point->Point);
  Output.push_back(b->Point->Point);
  Output.push_back(c->Point->Point);
}

// Monotone-pair triangulation: a and b start at the same vertex and end at the same
// vertex, a above b. Vertices are taken in X order; a reflex run waits on the stack
// until a vertex of the other chain or a convex turn lets it be cut off.
void TDxTesselator3::TriangulatePair(const TChain* a, const TChain* b) {
  Stack.clear();
  Stack.push_back(a->Nodes[0]);
  const auto fan = [this] {
    const TNode* last = Stack.back();
    for (size_t i = 0; i + 2 < Stack.size(); ++i) Emit(last, Stack[i], Stack[i + 1]);
    Stack.erase(Stack.begin(), Stack.end() - 2);
  };

  size_t ia = 1;
  size_t ib = 1;
  int32_t lastSide = 0;
  const TNode* last = a->Nodes[0];
  while (ia < a->Nodes.size() || ib < b->Nodes.size()) {
    bool fromA;
    if (ib >= b->Nodes.size())
      fromA = true;
    else if (ia >= a->Nodes.size())
      fromA = false;
    else
      fromA = a->Nodes[ia]->Point->X < b->Nodes[ib]->Point->X;
    TNode* node = fromA ? a->Nodes[ia++] : b->Nodes[ib++];
    // Copies of one vertex (a shared start or end) and the two nodes of a crossing
    // are one corner: taken once.
    if (node->Id == last->Id || node->Point == last->Point) continue;
    const int32_t side = fromA ? -1 : 1;
    Stack.push_back(node);
    if (side == lastSide) {
      while (Stack.size() > 2 && Sign(Cross(*Stack[Stack.size() - 3]->Point, *Stack[Stack.size() - 2]->Point,
                                            *Stack.back()->Point)) == side) {
        Emit(Stack[Stack.size() - 3], Stack[Stack.size() - 2], Stack.back());
        Stack.erase(Stack.end() - 2);
      }
    } else if (Stack.size() >= 3) {
      fan();
    }
    lastSide = side;
    last = node;
  }
  if (Stack.size() >= 3) fan();
}

}  // namespace vellmar
