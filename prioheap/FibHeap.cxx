#include "FibHeap.h"

#include <iostream>

namespace
{
// Largest degree a root can reach in a heap of at most maxNodes nodes: a root of degree d
// heads at least F(d+2) nodes.
constexpr int MaxDegreeFor(std::int64_t maxNodes)
{
  std::int64_t a = 1; // F(1)
  std::int64_t b = 1; // F(2)
  int degree = -1;
  while (b <= maxNodes)
  {
    const std::int64_t next = a + b;
    a = b;
    b = next;
    ++degree;
  }
  return degree;
}
static_assert(MaxDegreeFor(std::numeric_limits<std::int32_t>::max()) < FibHeap::MaxDegreeSlots,
  "degree table too small for the 32-bit node counter");

// Asks for the node's cache line ahead of its use.
inline void PrefetchNode(const FibHeapNode* node)
{
#if defined(__GNUC__)
  __builtin_prefetch(node);
#else
  static_cast<void>(node);
#endif
}

// Position of the lowest set bit; bits must not be 0.
inline int LowestSetBit(std::uint64_t bits)
{
#if defined(__GNUC__)
  return __builtin_ctzll(bits);
#else
  int position = 0;
  while ((bits & 1) == 0)
  {
    bits >>= 1;
    ++position;
  }
  return position;
#endif
}
}

void FibHeapNode::Print() const
{
  std::cout << this->m_Key;
}

void FibHeap::InsertRightOfMinimum(FibHeapNode* node)
{
  FibHeapNode* right = this->HeapNodeFromIndex(this->m_MinRoot->m_Right);
  node->m_Right = this->m_MinRoot->m_Right;
  node->m_Left = this->m_MinRoot->m_Index;
  this->m_MinRoot->m_Right = node->m_Index;
  right->m_Left = node->m_Index;
}

void FibHeap::Insert(FibHeapNode* node)
{
  if (node == nullptr)
  {
    return;
  }
  if (this->m_MinRoot == nullptr)
  {
    this->m_MinRoot = node;
    node->m_Left = node->m_Index;
    node->m_Right = node->m_Index;
  }
  else
  {
    this->InsertRightOfMinimum(node);
    if (node->m_Key < this->m_MinRoot->m_Key)
    {
      this->m_MinRoot = node;
    }
  }
  ++this->m_NumNodes;
  ++this->m_NumTrees;
  node->m_Parent = FibHeapNode::NullNodeIndex;
}

void FibHeap::AddToRootList(FibHeapNode* node)
{
  if (node->m_Mark)
  {
    node->m_Mark = false;
    --this->m_NumMarkedNodes;
  }
  --this->m_NumNodes;
  this->Insert(node);
}

void FibHeap::Union(FibHeap* otherHeap)
{
  if (otherHeap == nullptr)
  {
    return;
  }
  if (otherHeap->m_MinRoot == nullptr)
  {
    // Nothing to move, but the other heap was handed over all the same.
    delete otherHeap;
    return;
  }
  if (this->m_MinRoot == nullptr)
  {
    // An empty receiver simply takes the other heap over.
    this->m_MinRoot = otherHeap->m_MinRoot;
  }
  else
  {
    this->SpliceIntoRootList(otherHeap->m_MinRoot);
  }
  this->m_NumNodes += otherHeap->m_NumNodes;
  this->m_NumTrees += otherHeap->m_NumTrees;
  this->m_NumMarkedNodes += otherHeap->m_NumMarkedNodes;

  otherHeap->m_MinRoot = nullptr;
  otherHeap->m_NumNodes = 0;
  otherHeap->m_NumTrees = 0;
  otherHeap->m_NumMarkedNodes = 0;
  delete otherHeap;
}

void FibHeap::SpliceIntoRootList(FibHeapNode* min2)
{
  FibHeapNode* min1 = this->m_MinRoot;
  FibHeapNode* next1 = this->HeapNodeFromIndex(min1->m_Right);
  FibHeapNode* next2 = this->HeapNodeFromIndex(min2->m_Right);

  min1->m_Right = next2->m_Index;
  next2->m_Left = min1->m_Index;
  min2->m_Right = next1->m_Index;
  next1->m_Left = min2->m_Index;

  if (min2->m_Key < min1->m_Key)
  {
    this->m_MinRoot = min2;
  }
}

FibHeapNode* FibHeap::ExtractMin()
{
  if (this->m_MinRoot == nullptr)
  {
    return nullptr;
  }

  FibHeapNode* result = this->m_MinRoot;
  this->m_MinRoot = this->HeapNodeFromIndex(result->m_Right);

  FibHeapNode* left = this->HeapNodeFromIndex(result->m_Left);
  FibHeapNode* right = this->HeapNodeFromIndex(result->m_Right);
  left->m_Right = result->m_Right;
  right->m_Left = result->m_Left;
  result->m_Left = FibHeapNode::NullNodeIndex;
  result->m_Right = FibHeapNode::NullNodeIndex;

  --this->m_NumNodes;
  if (result->m_Mark)
  {
    result->m_Mark = false;
    --this->m_NumMarkedNodes;
  }
  const int childCount = result->m_Degree;
  result->m_Degree = 0;

  FibHeapNode* child = this->HeapNodeFromIndex(result->m_Child);
  if (child == nullptr)
  {
    if (this->m_MinRoot == result)
    {
      this->m_MinRoot = nullptr;
      this->m_NumTrees = 0;
    }
  }
  else if (this->m_MinRoot == result)
  {
    this->m_MinRoot = child;
  }
  else
  {
    // The children join the remaining roots: the same splice as a union with a heap whose
    // minimum is the child, without allocating that heap.
    this->SpliceIntoRootList(child);
  }

  if (child != nullptr)
  {
    child->m_Parent = FibHeapNode::NullNodeIndex;
  }
  result->m_Parent = FibHeapNode::NullNodeIndex;
  result->m_Child = FibHeapNode::NullNodeIndex;

  if (this->m_MinRoot != nullptr)
  {
    this->Consolidate(child, childCount);
  }
  return result;
}

void FibHeap::Consolidate(const FibHeapNode* children, int childCount)
{
  FibHeapNode* const nodes = this->m_HeapNodes;
  // Slot d of the degree table holds a tree of degree d exactly when bit d is set, so the
  // table needs no clearing and the rebuild visits only the occupied slots.
  static_assert(MaxDegreeSlots <= 64, "occupancy bits must fit one 64-bit word");
  FibHeapNode* degreeTable[MaxDegreeSlots];
  std::uint64_t occupied = 0;

  // Every root of the old list ends either as a child, whose links Link sets, or in the
  // rebuilt list, whose links the rebuild sets. So the walk leaves the old list as it is:
  // it ends when it is back at its start, and a root that becomes a child is not unlinked
  // from it. Link changes only links of walked roots and of nodes in child lists, never
  // those of a root still ahead of the walk, which is all the walk and the read below use.
  const Uint32 start = this->m_MinRoot->m_Index;
  FibHeapNode* w = this->m_MinRoot;

  // The children of the extracted minimum lie in the walk as one run, scattered in memory,
  // each found only through its left neighbour's link: the walk waits on one cache miss
  // after another. Reading the run from its far end too, through the left links, one step
  // per root walked, overlaps two such chains (and asks for each such root's first child,
  // which a link reads). It stops halfway, before the walk has reached (and possibly
  // relinked) a root it reads.
  const FibHeapNode* fromEnd = children;
  int stepsFromEnd = children != nullptr ? childCount / 2 : 0;

  while (w != nullptr)
  {
    if (stepsFromEnd > 0)
    {
      fromEnd = nodes + fromEnd->m_Left;
      PrefetchNode(fromEnd);
      if (fromEnd->m_Child != FibHeapNode::NullNodeIndex)
      {
        PrefetchNode(nodes + fromEnd->m_Child);
      }
      --stepsFromEnd;
    }
    FibHeapNode* x = w;
    int degree = x->m_Degree;
    // A root that wins a link reads its first child; ask for that line early.
    if (x->m_Child != FibHeapNode::NullNodeIndex)
    {
      PrefetchNode(nodes + x->m_Child);
    }
    w = x->m_Right == start ? nullptr : nodes + x->m_Right;
    while (occupied & (std::uint64_t{ 1 } << degree))
    {
      FibHeapNode* y = degreeTable[degree];
      // The tree with the smaller key stays on top; on equal keys x, the tree taken from
      // the root list. Selected without a branch: which one wins is unpredictable.
      const std::uintptr_t swap = -static_cast<std::uintptr_t>(x->m_Key > y->m_Key);
      const std::uintptr_t xBits = reinterpret_cast<std::uintptr_t>(x);
      const std::uintptr_t yBits = reinterpret_cast<std::uintptr_t>(y);
      x = reinterpret_cast<FibHeapNode*>((xBits & ~swap) | (yBits & swap));
      y = reinterpret_cast<FibHeapNode*>((yBits & ~swap) | (xBits & swap));
      if (w == y)
      {
        w = w->m_Right == start ? nullptr : nodes + w->m_Right;
      }
      this->Link(y, x);
      occupied &= ~(std::uint64_t{ 1 } << degree);
      ++degree;
    }
    degreeTable[degree] = x;
    occupied |= std::uint64_t{ 1 } << degree;
  }

  // Rebuild the root list in ascending degree order.
  this->m_MinRoot = nullptr;
  this->m_NumTrees = 0;
  while (occupied != 0)
  {
    this->AddToRootList(degreeTable[LowestSetBit(occupied)]);
    occupied &= occupied - 1;
  }
}

void FibHeap::Link(FibHeapNode* child, FibHeapNode* parent)
{
  FibHeapNode* const nodes = this->m_HeapNodes;
  child->m_Parent = parent->m_Index;
  const Uint32 firstChild = parent->m_Child;
  if (firstChild == FibHeapNode::NullNodeIndex)
  {
    parent->m_Child = child->m_Index;
    child->m_Left = child->m_Index;
    child->m_Right = child->m_Index;
  }
  else
  {
    // Right of the first child.
    const Uint32 next = nodes[firstChild].m_Right;
    child->m_Right = next;
    child->m_Left = firstChild;
    nodes[firstChild].m_Right = child->m_Index;
    nodes[next].m_Left = child->m_Index;
  }
  ++parent->m_Degree;

  if (child->m_Mark)
  {
    child->m_Mark = false;
    --this->m_NumMarkedNodes;
  }
}

void FibHeap::Cut(FibHeapNode* node, FibHeapNode* parent)
{
  if (parent->m_Child == node->m_Index)
  {
    parent->m_Child = node->m_Right == node->m_Index ? FibHeapNode::NullNodeIndex : node->m_Right;
  }
  --parent->m_Degree;

  this->HeapNodeFromIndex(node->m_Left)->m_Right = node->m_Right;
  this->HeapNodeFromIndex(node->m_Right)->m_Left = node->m_Left;

  this->AddToRootList(node);
}

void FibHeap::CascadingCut(FibHeapNode* node)
{
  FibHeapNode* parent = this->HeapNodeFromIndex(node->m_Parent);
  while (parent != nullptr)
  {
    if (!node->m_Mark)
    {
      node->m_Mark = true;
      ++this->m_NumMarkedNodes;
      return;
    }
    this->Cut(node, parent);
    node = parent;
    parent = this->HeapNodeFromIndex(node->m_Parent);
  }
}

int FibHeap::DecreaseKey(FibHeapNode* node, float key)
{
  if (node == nullptr || key > node->m_Key)
  {
    return -1;
  }
  node->m_Key = key;

  FibHeapNode* parent = this->HeapNodeFromIndex(node->m_Parent);
  if (parent != nullptr && parent->m_Key > key)
  {
    this->Cut(node, parent);
    this->CascadingCut(parent);
  }
  if (key < this->m_MinRoot->m_Key)
  {
    this->m_MinRoot = node;
  }
  return 0;
}

int FibHeap::Delete(FibHeapNode* node)
{
  if (node == nullptr)
  {
    return -1;
  }
  node->m_Key = FibHeapNode::NegativeInfinity;

  FibHeapNode* parent = this->HeapNodeFromIndex(node->m_Parent);
  if (parent != nullptr && parent->m_Key > FibHeapNode::NegativeInfinity)
  {
    this->Cut(node, parent);
    this->CascadingCut(parent);
  }
  if (this->m_MinRoot->m_Key > FibHeapNode::NegativeInfinity)
  {
    this->m_MinRoot = node;
  }
  return this->ExtractMin() != nullptr ? 0 : -1;
}

void FibHeap::Print(FibHeapNode* tree, FibHeapNode* parent)
{
  if (tree == nullptr)
  {
    tree = this->m_MinRoot;
  }
  if (tree == nullptr)
  {
    return;
  }
  const Uint32 parentIndex = parent != nullptr ? parent->m_Index : FibHeapNode::NullNodeIndex;

  FibHeapNode* node = tree;
  do
  {
    if (node->m_Left == FibHeapNode::NullNodeIndex)
    {
      std::cout << "(m_Left is nullptr)";
    }
    node->Print();
    if (node->m_Parent != parentIndex)
    {
      std::cout << "(m_Parent is incorrect)";
    }
    if (node->m_Right == FibHeapNode::NullNodeIndex)
    {
      std::cout << "(m_Right is nullptr)";
    }
    else if (this->HeapNodeFromIndex(node->m_Right)->m_Left == node->m_Index)
    {
      std::cout << " <-> ";
    }
    else
    {
      std::cout << "(Error in left link left) ->";
    }
    node = this->HeapNodeFromIndex(node->m_Right);
  } while (node != nullptr && node != tree);
  std::cout << '\n';

  node = tree;
  do
  {
    std::cout << "Children of ";
    node->Print();
    std::cout << ": ";
    FibHeapNode* child = this->HeapNodeFromIndex(node->m_Child);
    if (child == nullptr)
    {
      std::cout << "NONE\n";
    }
    else
    {
      this->Print(child, node);
    }
    node = this->HeapNodeFromIndex(node->m_Right);
  } while (node != nullptr && node != tree);
}
