#include "mapedit/CanvasMenuCell.h"

namespace quillon {

TPoint CanvasMenuCell(const TKelMapEditorModel& model, TCanvasPopup popup, std::optional<TPoint> press) {
    TPoint cell{-1, -1};
    if (popup == TCanvasPopup::None)
        return cell;
    if (press) {
        cell = model.CellAt(press->X, press->Y);
    } else if (popup == TCanvasPopup::Event) {
        cell = TPoint{model.Cursor().Left, model.Cursor().Top};
    } else if (model.HasSelection()) {
        cell = TPoint{model.Selection().Left, model.Selection().Top};
    } else {
        const TRect view = model.ViewRect();
        cell = model.CellAt(view.Left, view.Top);
    }
    return model.CellInMap(cell) ? cell : TPoint{-1, -1};
}

}  // namespace quillon
