#pragma once

// Ids, codes and flag words of the grid list control. Menus, stored settings and the panes
// built on the control use these values, so they never change.

#include <QtGlobal>

// Option flags of a grid list (CGridListView::GetOptions).
inline constexpr quint32 GLO_FILLRIGHT = 0x0001;
inline constexpr quint32 GLO_VGRIDLINES = 0x0002;
inline constexpr quint32 GLO_HGRIDLINES = 0x0004;
inline constexpr quint32 GLO_SORTONCLICK = 0x0008;
inline constexpr quint32 GLO_CELLFORMAT = 0x0010;
inline constexpr quint32 GLO_IMAGECOLUMNS = 0x0020;
inline constexpr quint32 GLO_EDITALLSELECTED = 0x0040;
inline constexpr quint32 GLO_ROWEXTRA = 0x0080;
inline constexpr quint32 GLO_TOOLTIPS = 0x0100;
inline constexpr quint32 GLO_FIRSTCOLFORMAT = 0x0200;
inline constexpr quint32 GLO_ENTERNOTIFY = 0x0800;
inline constexpr quint32 GLO_ENTEREDIT = 0x1000;
inline constexpr quint32 GLO_SCROLLBARS = 0x2000;
inline constexpr quint32 GLO_CELLCURSOR = 0x4000;
// Every option but GLO_EDITALLSELECTED, GLO_ROWEXTRA and GLO_FIRSTCOLFORMAT.
inline constexpr quint32 GLO_DEFAULT = 0x793F;

// What the list asks its owner (GridCellFormat::nCode).
inline constexpr int GRIDQ_FORMAT = 0;
inline constexpr int GRIDQ_CHOICES = 1;
inline constexpr int GRIDQ_COMMIT = 2;
inline constexpr int GRIDQ_ROWEXTRA = 3;

// The owner's answer to GRIDQ_FORMAT (GridCellFormat::dwFlags).
inline constexpr quint32 GRIDF_BOLD = 0x01;
inline constexpr quint32 GRIDF_ITALIC = 0x02;
inline constexpr quint32 GRIDF_UNDERLINE = 0x04;
inline constexpr quint32 GRIDF_FONT = 0x08;
inline constexpr quint32 GRIDF_TEXTCOLOR = 0x10;
inline constexpr quint32 GRIDF_BKCOLOR = 0x20;

// Cell moves an open editor asks for (CGridListView::OnGridNavigate).
inline constexpr int NAV_NEXT = 0;
inline constexpr int NAV_PREV = 1;
inline constexpr int NAV_LEFT = 2;
inline constexpr int NAV_RIGHT = 3;
inline constexpr int NAV_UP = 4;
inline constexpr int NAV_DOWN = 5;
inline constexpr int NAV_ENTER = 6;

// The list's private requests. They are virtual functions and signals here; the numbers stay
// as the names of those requests.
inline constexpr int WM_GRID_QUERYCELL = 0x0401;
inline constexpr int WM_GRID_SETCHOICE = 0x0402;
inline constexpr int WM_GRID_NAVIGATE = 0x0403;

// Id of the in-place cell editors (their object name carries it).
inline constexpr int IDC_GRID_INPLACE = 32841;

// Column alignment of a column definition.
inline constexpr int LVCFMT_LEFT = 0;
inline constexpr int LVCFMT_RIGHT = 1;
inline constexpr int LVCFMT_CENTER = 2;
inline constexpr int LVCFMT_JUSTIFYMASK = 0x0003;

// Behaviour bits of a column definition (ColumnDefinition::dwFlags).
inline constexpr quint32 COLDEF_LISTEDIT = 0x001;    // list-only choice editor
inline constexpr quint32 COLDEF_COMBOEDIT = 0x002;   // editable choice editor
inline constexpr quint32 COLDEF_TEXTEDIT = 0x004;    // text editor
inline constexpr quint32 COLDEF_NUMSORT = 0x008;     // sorted by the number the text starts with
inline constexpr quint32 COLDEF_DOTNUMSORT = 0x010;  // the same with every "." removed first
inline constexpr quint32 COLDEF_SORTABLE = 0x020;    // sorts on a click, descending first
inline constexpr quint32 COLDEF_IMAGE = 0x040;       // cells show an image
inline constexpr quint32 COLDEF_NOSORTMARK = 0x080;  // no sort mark in the header
inline constexpr quint32 COLDEF_FIXEDWIDTH = 0x100;  // cannot be resized
inline constexpr quint32 COLDEF_HEADERIMAGE = 0x200; // the header shows the definition's image

// Column ids are bit numbers of 32-bit masks.
inline constexpr int GRID_MAX_COLUMN_ID = 31;
