// The preview's restart points. The engine composes pages only forwards, so the first time the
// preview reaches a vertical page it records where the printed object stood and the run's
// counters; going back, or showing a page again, restores the nearest such point and composes
// from there. A print of a page range from the preview starts from them too.
#pragma once
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "engine/VLMXCodes.h"
#include "engine/VLMXCols.h"
#include "engine/VLMXGbl/ObjInfo.h"
#include "framework/Classes.h"
#include "framework/Controls.h"

// One restart point: what the engine needs to compose its vertical page again.
class TPrvwPageListData : public TObject {
public:
  // The highest page across of this vertical page composed from this point.
  int HighestPanel = -1;
  int VertPage = -1;
  // The dataset's bookmark; empty when the object is no dataset.
  std::string Bookmark;
  // The previous values of the group-break columns; none when the report has no group breaks.
  std::optional<TPrevValues> PrevValues;
  TPoint SavedCell{-1, -1};
  int RecordCounter = -1;
  int SelRowNdx = 0;
  // The column totals as they stood, one slot per column (empty for a column without totals):
  // a print starting here totals the rows before it too.
  std::vector<std::unique_ptr<TColTotList>> Totals;
};

// The restart points of one showing of the preview: at most one per vertical page, in the order
// the pages were first reached. Pages are {page across from 1, vertical page from 1}. Reads and
// writes the run of the report being previewed through the process-wide run objects.
class TPrvwPageList : public TObject {
public:
  TPrvwPageList() = default;
  TPrvwPageList(const TPrvwPageList&) = delete;
  TPrvwPageList& operator=(const TPrvwPageList&) = delete;

  int Count() const { return static_cast<int>(FItems.size()); }
  // nullptr outside the list.
  TPrvwPageListData* Items(int Index) const;

  // The entry of VertPage; failing that, with NearestBelow, the entry of the highest page below
  // it (the first of equal ones); -1 when none.
  int FindPage(int VertPage, bool NearestBelow) const;
  // Records the run's present state as the restart point of Page.Y; with Lookup nothing happens
  // when that page has one already.
  void AddPage(const TPoint& Page, bool Lookup);
  // Puts the run back on the restart point of Page.Y (or, NearestBelow, of the nearest page
  // below), on page across Page.X: a page across beyond the report's last becomes the last, in
  // Page too. Exact: this very page across of this very page was composed from the point
  // before. False, nothing changed, when there is no such point.
  bool RestorePage(TPoint& Page, bool NearestBelow, bool& Exact);

private:
  std::vector<std::unique_ptr<TPrvwPageListData>> FItems;
  // Each vertical page's first entry: a move to any page costs the same on a report of
  // thousands of pages.
  std::map<int, int> FFirstOfPage;
};

// The print range of a print started while the preview holds PageList (nullptr: no preview):
// the engine's range for Kind, and for a page range the run set to start on the restart point
// of FromPage, or of the nearest page below it, with the totals as they stood there, rather
// than from the report's first row.
void SetPreviewPageRange(TPrvwPageList* PageList, TPrintWhat Kind, TPoint FromPage, TPoint ToPage);

// The report started again for a preview: counters, totals and object from the first row, the
// next move showing page 1.
void PreviewStartReport();
// How the preview moves from the page it shows: to the page before, the next, or the same again.
enum TPreviewMove { gpPrevious = 0, gpNext = 1, gpSame = 2 };
// One move of the preview: the run goes to the page before, the next or the same one again,
// back on that page's restart point (one is recorded the first time the page is reached), and
// composes it into the run's sink. LastTotalsRow carries the totals band's row from the page of
// the totals to later pages. Exact: the page was composed from its restart point before, so it
// adds nothing more to the totals.
void PreviewGoToPage(TPrvwPageList& PageList, TPreviewMove Move, int& LastTotalsRow, bool& Exact);
// The preview shows the report's last page across of its last page.
bool PreviewAtReportEnd();
