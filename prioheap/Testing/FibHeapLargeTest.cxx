#include "FibHeap.h"
#include "FibHeapTestUtilities.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

// More nodes than a 33-slot degree table can serve (F(35) = 9,227,465), extracted in order.
TEST(FibHeapLarge, ExtractsBeyondTheClassicDegreeTableInOrder)
{
  constexpr std::size_t Count = 9227465 + 1000000;
  std::vector<FibHeapNode> nodes = fibheaptest::MakeNodes(Count);
  FibHeap heap;
  heap.SetHeapNodes(nodes.data());
  std::mt19937 rng(5);
  std::uniform_real_distribution<float> keys(0.0f, 1.0e6f);
  for (FibHeapNode& node : nodes)
  {
    node = keys(rng);
    heap.Insert(&node);
  }
  ASSERT_EQ(heap.GetNumNodes(), static_cast<std::int32_t>(Count));

  // Cut a share of the nodes below their parents, so the trees are no longer binomial.
  FibHeapNode* first = heap.ExtractMin();
  float last = first->GetKeyValue();
  std::uniform_int_distribution<std::size_t> pick(0, Count - 1);
  for (int i = 0; i < 100000; ++i)
  {
    FibHeapNode& node = nodes[pick(rng)];
    if (node.m_Right != fibheaptest::Null && node.GetKeyValue() > last + 1.0f)
    {
      ASSERT_EQ(heap.DecreaseKey(&node, last + 1.0f), 0);
    }
  }

  std::size_t extracted = 1;
  while (FibHeapNode* node = heap.ExtractMin())
  {
    ASSERT_GE(node->GetKeyValue(), last);
    last = node->GetKeyValue();
    ++extracted;
  }
  EXPECT_EQ(extracted, Count);
  EXPECT_TRUE(heap.IsEmpty());
  EXPECT_EQ(heap.GetNumNodes(), 0);
}
