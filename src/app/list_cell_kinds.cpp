#include "app/list_cell_kinds.h"

#include "calc/calc_texts.h"

CellEditKind EditKindOfColumn(const CircuitTable& table, int column) {
  if (column < 0 || column >= table.GetColumnCount()) return CellEditKind::None;
  const CString caption = table.GetColumnCaption(column);
  if (caption == calc_text::Phase()) return CellEditKind::PhaseChoice;
  for (const CString& text : {calc_text::CircuitNumber(), calc_text::EquipmentPower(),
                              calc_text::DemandCoefficient(), calc_text::PowerFactor(), calc_text::Remark()})
    if (caption == text) return CellEditKind::Text;
  return CellEditKind::None;
}
