// A plain transcription of the heap's algorithms, step by step and without shortcuts, used
// as an oracle: the library must leave every node exactly as this one does.
#ifndef FibHeapReference_h
#define FibHeapReference_h

#include "FibHeap.h"

#include <cstdint>

namespace fibheaptest
{
class ReferenceHeap
{
public:
  using Uint32 = FibHeapNode::Uint32;
  static constexpr Uint32 NullIndex = FibHeapNode::NullNodeIndex;

  explicit ReferenceHeap(FibHeapNode* nodes)
    : Nodes(nodes)
  {
  }

  FibHeapNode* MinRoot = nullptr;
  std::int32_t NumNodes = 0;
  std::int32_t NumTrees = 0;
  std::int32_t NumMarkedNodes = 0;

  void Insert(FibHeapNode* x)
  {
    if (x == nullptr)
    {
      return;
    }
    if (this->MinRoot == nullptr)
    {
      this->MinRoot = x;
      x->m_Left = x->m_Index;
      x->m_Right = x->m_Index;
    }
    else
    {
      this->InsertRightOfMinimum(x);
      if (x->m_Key < this->MinRoot->m_Key)
      {
        this->MinRoot = x;
      }
    }
    ++this->NumNodes;
    ++this->NumTrees;
    x->m_Parent = NullIndex;
  }

  // Takes the other heap's trees and counters and empties it.
  void Union(ReferenceHeap& other)
  {
    if (other.MinRoot == nullptr)
    {
      return;
    }
    if (this->MinRoot == nullptr)
    {
      this->MinRoot = other.MinRoot;
    }
    else
    {
      FibHeapNode* min1 = this->MinRoot;
      FibHeapNode* min2 = other.MinRoot;
      FibHeapNode* next1 = this->Node(min1->m_Right);
      FibHeapNode* next2 = this->Node(min2->m_Right);
      min1->m_Right = next2->m_Index;
      next2->m_Left = min1->m_Index;
      min2->m_Right = next1->m_Index;
      next1->m_Left = min2->m_Index;
      if (min2->m_Key < min1->m_Key)
      {
        this->MinRoot = min2;
      }
    }
    this->NumNodes += other.NumNodes;
    this->NumTrees += other.NumTrees;
    this->NumMarkedNodes += other.NumMarkedNodes;
    other.MinRoot = nullptr;
    other.NumNodes = other.NumTrees = other.NumMarkedNodes = 0;
  }

  FibHeapNode* ExtractMin()
  {
    if (this->MinRoot == nullptr)
    {
      return nullptr;
    }
    FibHeapNode* z = this->MinRoot;
    this->MinRoot = this->Node(z->m_Right);
    this->Node(z->m_Left)->m_Right = z->m_Right;
    this->Node(z->m_Right)->m_Left = z->m_Left;
    z->m_Left = NullIndex;
    z->m_Right = NullIndex;
    --this->NumNodes;
    if (z->m_Mark)
    {
      z->m_Mark = false;
      --this->NumMarkedNodes;
    }
    z->m_Degree = 0;

    ReferenceHeap temporary(this->Nodes);
    bool haveTemporary = false;
    FibHeapNode* child = this->Node(z->m_Child);
    if (child == nullptr)
    {
      if (this->MinRoot == z)
      {
        this->MinRoot = nullptr;
        this->NumTrees = 0;
      }
    }
    else if (this->MinRoot == z)
    {
      this->MinRoot = child;
    }
    else
    {
      temporary.MinRoot = child;
      haveTemporary = true;
    }
    if (child != nullptr)
    {
      child->m_Parent = NullIndex;
    }
    z->m_Parent = NullIndex;
    z->m_Child = NullIndex;
    if (haveTemporary)
    {
      this->Union(temporary);
    }
    if (this->MinRoot != nullptr)
    {
      this->Consolidate();
    }
    return z;
  }

  int DecreaseKey(FibHeapNode* x, float key)
  {
    if (x == nullptr || key > x->m_Key)
    {
      return -1;
    }
    x->m_Key = key;
    FibHeapNode* y = this->Node(x->m_Parent);
    if (y != nullptr && y->m_Key > key)
    {
      this->Cut(x, y);
      this->CascadingCut(y);
    }
    if (key < this->MinRoot->m_Key)
    {
      this->MinRoot = x;
    }
    return 0;
  }

  int Delete(FibHeapNode* x)
  {
    if (x == nullptr)
    {
      return -1;
    }
    x->m_Key = FibHeapNode::NegativeInfinity;
    FibHeapNode* y = this->Node(x->m_Parent);
    if (y != nullptr && y->m_Key > FibHeapNode::NegativeInfinity)
    {
      this->Cut(x, y);
      this->CascadingCut(y);
    }
    if (this->MinRoot->m_Key > FibHeapNode::NegativeInfinity)
    {
      this->MinRoot = x;
    }
    return this->ExtractMin() != nullptr ? 0 : -1;
  }

private:
  FibHeapNode* Node(Uint32 index) const
  {
    return index == NullIndex ? nullptr : this->Nodes + index;
  }

  void InsertRightOfMinimum(FibHeapNode* x)
  {
    FibHeapNode* right = this->Node(this->MinRoot->m_Right);
    x->m_Right = this->MinRoot->m_Right;
    x->m_Left = this->MinRoot->m_Index;
    this->MinRoot->m_Right = x->m_Index;
    right->m_Left = x->m_Index;
  }

  void AddToRootList(FibHeapNode* x)
  {
    if (x->m_Mark)
    {
      x->m_Mark = false;
      --this->NumMarkedNodes;
    }
    --this->NumNodes;
    this->Insert(x);
  }

  void Consolidate()
  {
    FibHeapNode* a[FibHeap::MaxDegreeSlots] = {};
    this->Node(this->MinRoot->m_Left)->m_Right = NullIndex;
    this->MinRoot->m_Left = NullIndex;
    FibHeapNode* w = this->MinRoot;
    while (w != nullptr)
    {
      FibHeapNode* x = w;
      int d = x->m_Degree;
      w = this->Node(w->m_Right);
      while (a[d] != nullptr)
      {
        FibHeapNode* y = a[d];
        if (x->m_Key > y->m_Key)
        {
          FibHeapNode* swap = x;
          x = y;
          y = swap;
        }
        if (w == y)
        {
          w = this->Node(w->m_Right);
        }
        this->Link(y, x);
        a[d] = nullptr;
        ++d;
      }
      a[d] = x;
    }
    this->MinRoot = nullptr;
    this->NumTrees = 0;
    for (FibHeapNode* root : a)
    {
      if (root != nullptr)
      {
        this->AddToRootList(root);
      }
    }
  }

  void Link(FibHeapNode* y, FibHeapNode* x)
  {
    if (FibHeapNode* left = this->Node(y->m_Left))
    {
      left->m_Right = y->m_Right;
    }
    if (FibHeapNode* right = this->Node(y->m_Right))
    {
      right->m_Left = y->m_Left;
    }
    --this->NumTrees;
    y->m_Left = y->m_Index;
    y->m_Right = y->m_Index;
    y->m_Parent = x->m_Index;
    if (x->m_Child == NullIndex)
    {
      x->m_Child = y->m_Index;
    }
    else
    {
      FibHeapNode* child = this->Node(x->m_Child);
      FibHeapNode* next = this->Node(child->m_Right);
      y->m_Right = child->m_Right;
      y->m_Left = child->m_Index;
      child->m_Right = y->m_Index;
      next->m_Left = y->m_Index;
    }
    ++x->m_Degree;
    if (y->m_Mark)
    {
      y->m_Mark = false;
      --this->NumMarkedNodes;
    }
  }

  void Cut(FibHeapNode* x, FibHeapNode* y)
  {
    if (y->m_Child == x->m_Index)
    {
      y->m_Child = x->m_Right == x->m_Index ? NullIndex : x->m_Right;
    }
    --y->m_Degree;
    this->Node(x->m_Left)->m_Right = x->m_Right;
    this->Node(x->m_Right)->m_Left = x->m_Left;
    this->AddToRootList(x);
  }

  void CascadingCut(FibHeapNode* y)
  {
    while (FibHeapNode* z = this->Node(y->m_Parent))
    {
      if (!y->m_Mark)
      {
        y->m_Mark = true;
        ++this->NumMarkedNodes;
        return;
      }
      this->Cut(y, z);
      y = z;
    }
  }

  FibHeapNode* Nodes;
};
}

#endif
