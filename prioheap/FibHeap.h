// Fibonacci heap over a caller-owned array of index-linked nodes.
//
// The nodes live in one array that the caller allocates and hands to the heap with
// SetHeapNodes(). Links between nodes are 32-bit indices into that array, so a caller can
// keep one node per element of a large grid in a single allocation and find an element's
// node by its position. Keys are floats; the smallest key is the minimum.
#ifndef FibHeap_h
#define FibHeap_h

#include "prioheapExport.h"

#include <cstdint>
#include <limits>

class PRIOHEAP_EXPORT FibHeapNode
{
public:
  using Uint32 = std::uint32_t;

  static constexpr Uint32 NullNodeIndex = std::numeric_limits<Uint32>::max();
  static constexpr float NegativeInfinity = -std::numeric_limits<float>::infinity();

  FibHeapNode() = default;
  FibHeapNode(const FibHeapNode&) = default;

  void SetIndexValue(Uint32 index) { this->m_Index = index; }
  Uint32 GetIndexValue() const { return this->m_Index; }
  float GetKeyValue() const { return this->m_Key; }

  // Assignment from a float sets the key.
  FibHeapNode& operator=(float key)
  {
    this->m_Key = key;
    return *this;
  }
  // Assignment from another node copies only the key: links and index stay.
  FibHeapNode& operator=(const FibHeapNode& other)
  {
    this->m_Key = other.m_Key;
    return *this;
  }
  bool operator==(const FibHeapNode& other) const { return this->m_Key == other.m_Key; }
  bool operator<(const FibHeapNode& other) const { return this->m_Key < other.m_Key; }

  // Writes the key to standard output.
  void Print() const;

  Uint32 m_Left = NullNodeIndex;
  Uint32 m_Right = NullNodeIndex;
  Uint32 m_Parent = NullNodeIndex;
  Uint32 m_Child = NullNodeIndex;
  std::int16_t m_Degree = 0;
  bool m_Mark = false;
  float m_Key = 0.0f;
  Uint32 m_Index = NullNodeIndex;
};

class PRIOHEAP_EXPORT FibHeap
{
public:
  using Uint32 = FibHeapNode::Uint32;

  FibHeap() = default;
  // Copies share the node array and the same trees; no node is copied.
  FibHeap(const FibHeap&) = default;
  FibHeap& operator=(const FibHeap&) = default;
  // Releases nothing: the nodes belong to the caller.
  virtual ~FibHeap() = default;

  // Binds the heap to the caller's node array. Must precede any other operation.
  void SetHeapNodes(FibHeapNode* heapNodes) { this->m_HeapNodes = heapNodes; }

  // Adds a prepared node (index and key set); a null node is ignored.
  void Insert(FibHeapNode* node);
  // Moves every node of otherHeap into this heap and deletes otherHeap, which must have
  // been created with new (an empty otherHeap is deleted too). A null otherHeap is ignored.
  void Union(FibHeap* otherHeap);

  FibHeapNode* Minimum() const { return this->m_MinRoot; }
  // Removes and returns the minimum, unlinked, unmarked and of degree 0; null when empty.
  // Never allocates.
  FibHeapNode* ExtractMin();
  // 0 on success; -1 when node is null or key is greater than its current key.
  int DecreaseKey(FibHeapNode* node, float key);
  // 0 on success; -1 for a null node. The node's key is minus infinity afterwards.
  int Delete(FibHeapNode* node);

  bool IsEmpty() const { return this->m_MinRoot == nullptr; }
  std::int32_t GetNumNodes() const { return this->m_NumNodes; }
  std::int32_t GetNumTrees() const { return this->m_NumTrees; }
  std::int32_t GetNumMarkedNodes() const { return this->m_NumMarkedNodes; }

  // Writes the circular list that holds tree (the root list when tree is null) and, below
  // it, the children of each node to standard output. parent is the node whose children are
  // printed; null stands for the root level.
  void Print(FibHeapNode* tree = nullptr, FibHeapNode* parent = nullptr);

  // Slots of the consolidation degree table: a root of degree d heads at least F(d+2)
  // nodes, and 46 degrees cover every heap whose node count fits the 32-bit counter.
  static constexpr int MaxDegreeSlots = 46;

private:
  void AddToRootList(FibHeapNode* node);
  // Makes child, a root being consolidated, a child of parent. The root list around child
  // is left as it was: Consolidate rebuilds that list.
  void Link(FibHeapNode* child, FibHeapNode* parent);
  void Cut(FibHeapNode* node, FibHeapNode* parent);
  void CascadingCut(FibHeapNode* node);
  // Links roots of equal degree until all degrees differ. children and childCount name the
  // extracted minimum's children, now roots, when there were any (a hint for memory reads).
  void Consolidate(const FibHeapNode* children, int childCount);
  FibHeapNode* HeapNodeFromIndex(Uint32 index) const
  {
    return index == FibHeapNode::NullNodeIndex ? nullptr : this->m_HeapNodes + index;
  }
  void InsertRightOfMinimum(FibHeapNode* node);
  // Joins the circular list that holds min2 into the root list, right of the minimum, and
  // makes min2 the minimum if its key is strictly smaller.
  void SpliceIntoRootList(FibHeapNode* min2);

  FibHeapNode* m_MinRoot = nullptr;
  std::int32_t m_NumNodes = 0;
  std::int32_t m_NumTrees = 0;
  std::int32_t m_NumMarkedNodes = 0;
  FibHeapNode* m_HeapNodes = nullptr;
};

#endif
