// Structural checks shared by the heap tests.
#ifndef FibHeapTestUtilities_h
#define FibHeapTestUtilities_h

#include "FibHeap.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace fibheaptest
{
constexpr std::uint32_t Null = FibHeapNode::NullNodeIndex;

struct HeapCensus
{
  std::int32_t Nodes = 0;
  std::int32_t Trees = 0;
  std::int32_t Marked = 0;
};

// Walks one circular sibling list starting at first and checks every node below it.
inline void CheckSiblingList(const FibHeapNode* nodes,
  std::uint32_t first,
  std::uint32_t parent,
  HeapCensus& census,
  std::size_t arraySize)
{
  std::uint32_t current = first;
  std::size_t steps = 0;
  do
  {
    ASSERT_LT(current, arraySize);
    const FibHeapNode& node = nodes[current];
    ASSERT_EQ(node.m_Index, current);
    ASSERT_EQ(node.m_Parent, parent);
    ASSERT_NE(node.m_Right, Null);
    ASSERT_NE(node.m_Left, Null);
    ASSERT_EQ(nodes[node.m_Right].m_Left, current) << "broken left link";
    if (parent != Null)
    {
      ASSERT_GE(node.m_Key, nodes[parent].m_Key) << "heap order";
    }
    else
    {
      ASSERT_FALSE(node.m_Mark) << "roots are never marked";
    }
    ++census.Nodes;
    census.Marked += node.m_Mark ? 1 : 0;
    int children = 0;
    if (node.m_Child != Null)
    {
      std::uint32_t child = node.m_Child;
      do
      {
        ++children;
        child = nodes[child].m_Right;
      } while (child != node.m_Child && children <= node.m_Degree);
      ASSERT_EQ(children, node.m_Degree);
      CheckSiblingList(nodes, node.m_Child, current, census, arraySize);
    }
    else
    {
      ASSERT_EQ(node.m_Degree, 0);
    }
    current = node.m_Right;
    ASSERT_LE(++steps, arraySize) << "sibling list is not circular";
  } while (current != first);
}

// Checks every structural invariant and that the counters match the structure.
inline void CheckHeap(const FibHeap& heap, const FibHeapNode* nodes, std::size_t arraySize)
{
  const FibHeapNode* min = heap.Minimum();
  if (min == nullptr)
  {
    EXPECT_TRUE(heap.IsEmpty());
    EXPECT_EQ(heap.GetNumNodes(), 0);
    EXPECT_EQ(heap.GetNumTrees(), 0);
    EXPECT_EQ(heap.GetNumMarkedNodes(), 0);
    return;
  }
  HeapCensus census;
  CheckSiblingList(nodes, min->m_Index, Null, census, arraySize);
  std::uint32_t root = min->m_Index;
  do
  {
    ++census.Trees;
    EXPECT_LE(min->m_Key, nodes[root].m_Key) << "minimum is not the smallest root";
    root = nodes[root].m_Right;
  } while (root != min->m_Index);
  EXPECT_EQ(heap.GetNumNodes(), census.Nodes);
  EXPECT_EQ(heap.GetNumTrees(), census.Trees);
  EXPECT_EQ(heap.GetNumMarkedNodes(), census.Marked);
}

// Default-constructed nodes with their index set, as a caller prepares them.
inline std::vector<FibHeapNode> MakeNodes(std::size_t count)
{
  std::vector<FibHeapNode> nodes(count);
  for (std::size_t i = 0; i < count; ++i)
  {
    nodes[i].SetIndexValue(static_cast<std::uint32_t>(i));
  }
  return nodes;
}
}

#endif
