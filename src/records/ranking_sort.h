#pragma once
#include <QtGlobal>
#include <vector>

// The ranking order of the records lists: a stable merge sort, ascending by
// key, over positions 1…n (index 0 unused), carrying the parallel values.
// Equal keys keep their order, so earlier entries stay ahead of later ones.
void rankingSort(std::vector<qint32>& keys, std::vector<qint32>& values, int n);
