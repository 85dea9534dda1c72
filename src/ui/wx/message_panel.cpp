#include "ui/wx/message_panel.h"

#include <wx/dcbuffer.h>
#include <wx/settings.h>
#include <wx/tokenzr.h>

namespace orvela::ui::wx {

namespace {

// Greedy word wrap to `width` pixels; explicit line breaks are kept.
wxArrayString wrap(wxDC& dc, const wxString& text, int width) {
  wxArrayString lines;
  wxStringTokenizer paragraphs(text, "\n", wxTOKEN_RET_EMPTY_ALL);
  while (paragraphs.HasMoreTokens()) {
    wxString line;
    wxStringTokenizer words(paragraphs.GetNextToken(), " ");
    while (words.HasMoreTokens()) {
      const wxString word = words.GetNextToken();
      const wxString candidate = line.empty() ? word : line + " " + word;
      if (!line.empty() && dc.GetTextExtent(candidate).GetWidth() > width) {
        lines.Add(line);
        line = word;
      } else {
        line = candidate;
      }
    }
    lines.Add(line);
  }
  return lines;
}

}  // namespace

MessagePanel::MessagePanel(wxWindow* parent)
    : wxWindow(parent, wxID_ANY, wxDefaultPosition, wxDefaultSize, wxFULL_REPAINT_ON_RESIZE) {
  SetBackgroundStyle(wxBG_STYLE_PAINT);
  SetBackgroundColour(*wxBLACK);
  SetForegroundColour(wxColour(255, 255, 0));
  SetFont(wxFontInfo(28).Bold().Family(wxFONTFAMILY_SWISS));
  Bind(wxEVT_PAINT, &MessagePanel::on_paint, this);
}

void MessagePanel::set_message(const wxString& text) {
  wxString t = text;
  t.Replace("\r\n", "\n");
  t.Replace("\r", "\n");
  if (t == text_) return;
  text_ = t;
  Refresh();
}

void MessagePanel::on_paint(wxPaintEvent&) {
  wxAutoBufferedPaintDC dc(this);
  dc.SetBackground(wxBrush(GetBackgroundColour()));
  dc.Clear();
  dc.SetFont(GetFont());
  dc.SetTextForeground(GetForegroundColour());
  const int margin = 16;
  const wxSize size = GetClientSize();
  int y = margin;
  for (const wxString& line : wrap(dc, text_, size.GetWidth() - 2 * margin)) {
    dc.DrawText(line, margin, y);
    y += dc.GetCharHeight() + 4;
    if (y > size.GetHeight()) break;
  }
}

}  // namespace orvela::ui::wx
