#include "ui/wx/gtk_access.h"

#include <gtk/gtk-a11y.h>
#include <gtk/gtk.h>
#include <wx/menu.h>
#include <wx/toplevel.h>

#include <string>

namespace orvela::ui::wx {

namespace {

// ---- text boundaries, in characters ------------------------------------

struct Span {
  long start;
  long end;
};

bool is_space(char32_t c) { return g_unichar_isspace(static_cast<gunichar>(c)); }

// The line holding `at`, with its line break.
Span line_at(const std::u32string& s, long at) {
  const long n = static_cast<long>(s.size());
  long start = at;
  while (start > 0 && s[start - 1] != U'\n') --start;
  long end = at;
  while (end < n && s[end] != U'\n') ++end;
  return {start, end < n ? end + 1 : n};
}

// From the start of the word at or before `at` to the start of the next.
Span word_at(const std::u32string& s, long at) {
  const long n = static_cast<long>(s.size());
  auto starts_word = [&](long i) {
    return i < n && !is_space(s[i]) && (i == 0 || is_space(s[i - 1]));
  };
  long start = at;
  while (start > 0 && !starts_word(start)) --start;
  long end = at + 1;
  while (end < n && !starts_word(end)) ++end;
  return {start, end < n ? end : n};
}

// The same span without the spaces and line break at its end.
Span trimmed(const std::u32string& s, Span span) {
  while (span.end > span.start && is_space(s[span.end - 1])) --span.end;
  return span;
}

// ---- the main view's widget ----------------------------------------------

constexpr int kMargin = 16;

struct OrvelaMessageView {
  GtkDrawingArea parent;
  gchar* text;  // UTF-8, never null
};

struct OrvelaMessageViewClass {
  GtkDrawingAreaClass parent_class;
};

GType message_accessible_get_type();
GType message_view_get_type();

G_DEFINE_TYPE(OrvelaMessageView, message_view, GTK_TYPE_DRAWING_AREA)

OrvelaMessageView* as_view(GtkWidget* w) {
  return G_TYPE_CHECK_INSTANCE_CAST(w, message_view_get_type(), OrvelaMessageView);
}

// The message laid out as it is painted: large bold type, wrapped at words
// within the margins.
PangoLayout* layout_of(GtkWidget* w) {
  PangoLayout* layout = gtk_widget_create_pango_layout(w, as_view(w)->text);
  PangoFontDescription* font = pango_font_description_from_string("Sans Bold 28");
  pango_layout_set_font_description(layout, font);
  pango_font_description_free(font);
  const int width = gtk_widget_get_allocated_width(w) - 2 * kMargin;
  pango_layout_set_width(layout, (width > 1 ? width : 1) * PANGO_SCALE);
  pango_layout_set_wrap(layout, PANGO_WRAP_WORD_CHAR);
  pango_layout_set_spacing(layout, 4 * PANGO_SCALE);
  return layout;
}

// Where the text is painted, in the widget; empty when there is none.
GdkRectangle text_area(GtkWidget* w) {
  PangoLayout* layout = layout_of(w);
  PangoRectangle logical;
  pango_layout_get_pixel_extents(layout, nullptr, &logical);
  g_object_unref(layout);
  if (!*as_view(w)->text) return GdkRectangle{0, 0, 0, 0};
  GdkRectangle area{kMargin + logical.x, kMargin + logical.y, logical.width, logical.height};
  const int bottom = gtk_widget_get_allocated_height(w);
  if (area.y + area.height > bottom) area.height = bottom > area.y ? bottom - area.y : 0;
  return area;
}

gboolean message_view_draw(GtkWidget* w, cairo_t* cr) {
  cairo_set_source_rgb(cr, 0, 0, 0);
  cairo_paint(cr);
  PangoLayout* layout = layout_of(w);
  cairo_set_source_rgb(cr, 1, 1, 0);
  cairo_move_to(cr, kMargin, kMargin);
  pango_cairo_show_layout(cr, layout);
  g_object_unref(layout);
  return FALSE;
}

void message_view_init(OrvelaMessageView* self) {
  self->text = g_strdup("");
  GtkWidget* w = GTK_WIDGET(self);
  // The frame walks with the mouse over this view.
  gtk_widget_add_events(w, GDK_BUTTON_PRESS_MASK | GDK_BUTTON_RELEASE_MASK |
                               GDK_POINTER_MOTION_MASK | GDK_ENTER_NOTIFY_MASK |
                               GDK_LEAVE_NOTIFY_MASK | GDK_KEY_PRESS_MASK | GDK_KEY_RELEASE_MASK |
                               GDK_FOCUS_CHANGE_MASK);
}

void message_view_finalize(GObject* object) {
  g_free(G_TYPE_CHECK_INSTANCE_CAST(object, message_view_get_type(), OrvelaMessageView)->text);
  G_OBJECT_CLASS(message_view_parent_class)->finalize(object);
}

void message_view_class_init(OrvelaMessageViewClass* klass) {
  G_OBJECT_CLASS(klass)->finalize = message_view_finalize;
  GtkWidgetClass* widget_class = GTK_WIDGET_CLASS(klass);
  widget_class->draw = message_view_draw;
  gtk_widget_class_set_accessible_type(widget_class, message_accessible_get_type());
  gtk_widget_class_set_accessible_role(widget_class, ATK_ROLE_TEXT);
}

// ---- its accessible object: a read-only text ------------------------------

struct OrvelaMessageAccessible {
  GtkWidgetAccessible parent;
};

struct OrvelaMessageAccessibleClass {
  GtkWidgetAccessibleClass parent_class;
};

void message_accessible_text_init(AtkTextIface* iface);

G_DEFINE_TYPE_WITH_CODE(OrvelaMessageAccessible, message_accessible, GTK_TYPE_WIDGET_ACCESSIBLE,
                        G_IMPLEMENT_INTERFACE(ATK_TYPE_TEXT, message_accessible_text_init))

// The view behind an accessible object; null once the view is gone.
GtkWidget* view_of(AtkText* t) { return gtk_accessible_get_widget(GTK_ACCESSIBLE(t)); }

const gchar* text_of(AtkText* t) {
  GtkWidget* w = view_of(t);
  return w ? as_view(w)->text : "";
}

std::u32string chars_of(AtkText* t) {
  std::u32string out;
  for (const gchar* p = text_of(t); *p; p = g_utf8_next_char(p))
    out.push_back(static_cast<char32_t>(g_utf8_get_char(p)));
  return out;
}

gchar* substring(AtkText* t, long start, long end) {
  return g_utf8_substring(text_of(t), start, end);
}

void message_accessible_init(OrvelaMessageAccessible*) {}

AtkStateSet* message_accessible_ref_state_set(AtkObject* obj) {
  AtkStateSet* states = ATK_OBJECT_CLASS(message_accessible_parent_class)->ref_state_set(obj);
  atk_state_set_add_state(states, ATK_STATE_MULTI_LINE);
  atk_state_set_add_state(states, ATK_STATE_READ_ONLY);
  atk_state_set_remove_state(states, ATK_STATE_EDITABLE);
  return states;
}

void message_accessible_class_init(OrvelaMessageAccessibleClass* klass) {
  ATK_OBJECT_CLASS(klass)->ref_state_set = message_accessible_ref_state_set;
}

gchar* get_text(AtkText* t, gint start, gint end) {
  const long n = g_utf8_strlen(text_of(t), -1);
  if (end < 0 || end > n) end = static_cast<gint>(n);
  if (start < 0) start = 0;
  if (start > end) start = end;
  return substring(t, start, end);
}

gint get_character_count(AtkText* t) { return static_cast<gint>(g_utf8_strlen(text_of(t), -1)); }

gunichar get_character_at_offset(AtkText* t, gint offset) {
  const std::u32string s = chars_of(t);
  return offset >= 0 && offset < static_cast<gint>(s.size()) ? static_cast<gunichar>(s[offset]) : 0;
}

// Nothing here can be edited or selected: the caret stays at the start.
gint get_caret_offset(AtkText*) { return 0; }
gboolean set_caret_offset(AtkText*, gint) { return FALSE; }
gint get_n_selections(AtkText*) { return 0; }

// The character, word or line around `offset`; `trim` leaves out the
// spaces and line break after it.
gchar* text_around(AtkText* t, gint offset, bool word, bool line, bool trim, gint* start_offset,
                   gint* end_offset) {
  const std::u32string s = chars_of(t);
  const long n = static_cast<long>(s.size());
  Span span{0, 0};
  if (offset >= 0 && offset < n) {
    span = line ? line_at(s, offset) : word ? word_at(s, offset) : Span{offset, offset + 1};
    if (trim) span = trimmed(s, span);
  } else if (offset == n && n > 0 && line) {
    span = line_at(s, n - 1);  // the end of the text belongs to its last line
    if (trim) span = trimmed(s, span);
  }
  *start_offset = static_cast<gint>(span.start);
  *end_offset = static_cast<gint>(span.end);
  return substring(t, span.start, span.end);
}

gchar* get_text_at_offset(AtkText* t, gint offset, AtkTextBoundary boundary, gint* start_offset,
                          gint* end_offset) {
  const bool word =
      boundary == ATK_TEXT_BOUNDARY_WORD_START || boundary == ATK_TEXT_BOUNDARY_WORD_END;
  const bool line = boundary != ATK_TEXT_BOUNDARY_CHAR && !word;
  return text_around(t, offset, word, line, false, start_offset, end_offset);
}

gchar* get_string_at_offset(AtkText* t, gint offset, AtkTextGranularity granularity,
                            gint* start_offset, gint* end_offset) {
  const bool word = granularity == ATK_TEXT_GRANULARITY_WORD;
  const bool line = granularity != ATK_TEXT_GRANULARITY_CHAR && !word;
  return text_around(t, offset, word, line, true, start_offset, end_offset);
}

// Every piece of the text is reported where the whole text is painted: a
// screen reader's review needs its place on screen, not each letter's.
void get_range_extents(AtkText* t, gint, gint, AtkCoordType coords, AtkTextRectangle* rect) {
  gint x = 0, y = 0, w = 0, h = 0;
  atk_component_get_extents(ATK_COMPONENT(t), &x, &y, &w, &h, coords);
  if (GtkWidget* view = view_of(t)) {
    const GdkRectangle area = text_area(view);
    if (area.width > 0 && area.height > 0) {
      x += area.x;
      y += area.y;
      w = area.width;
      h = area.height;
    }
  }
  *rect = AtkTextRectangle{x, y, w, h};
}

void get_character_extents(AtkText* t, gint offset, gint* x, gint* y, gint* width, gint* height,
                           AtkCoordType coords) {
  AtkTextRectangle r;
  get_range_extents(t, offset, offset + 1, coords, &r);
  *x = r.x;
  *y = r.y;
  *width = r.width;
  *height = r.height;
}

gint get_offset_at_point(AtkText* t, gint x, gint y, AtkCoordType coords) {
  AtkTextRectangle r;
  get_range_extents(t, 0, -1, coords, &r);
  const bool inside = x >= r.x && x < r.x + r.width && y >= r.y && y < r.y + r.height;
  return inside ? 0 : -1;
}

// One run of plain text: a screen reader reads text run by run.
AtkAttributeSet* get_run_attributes(AtkText* t, gint, gint* start_offset, gint* end_offset) {
  *start_offset = 0;
  *end_offset = get_character_count(t);
  return nullptr;
}

void message_accessible_text_init(AtkTextIface* iface) {
  iface->get_text = get_text;
  iface->get_character_count = get_character_count;
  iface->get_character_at_offset = get_character_at_offset;
  iface->get_caret_offset = get_caret_offset;
  iface->set_caret_offset = set_caret_offset;
  iface->get_n_selections = get_n_selections;
  iface->get_text_at_offset = get_text_at_offset;
  iface->get_string_at_offset = get_string_at_offset;
  iface->get_range_extents = get_range_extents;
  iface->get_character_extents = get_character_extents;
  iface->get_offset_at_point = get_offset_at_point;
  iface->get_run_attributes = get_run_attributes;
}

}  // namespace

GtkWidget* new_message_widget() {
  return GTK_WIDGET(g_object_new(message_view_get_type(), nullptr));
}

void set_message_widget_text(GtkWidget* widget, const char* text) {
  OrvelaMessageView* view = as_view(widget);
  if (g_strcmp0(view->text, text) == 0) return;
  g_free(view->text);
  view->text = g_strdup(text ? text : "");
  gtk_widget_queue_draw(widget);
}

void set_message_widget_focusable(GtkWidget* widget, bool focusable) {
  gtk_widget_set_can_focus(widget, focusable);
}

void set_dialog_role(wxTopLevelWindow& dialog) {
  if (GtkWidget* widget = dialog.GetHandle())
    atk_object_set_role(gtk_widget_get_accessible(widget), ATK_ROLE_DIALOG);
}

void announce_menus(wxMenuBar& bar) {
  GtkWidget* widget = bar.GetHandle();
  if (!widget) return;
  AtkObject* acc = gtk_widget_get_accessible(widget);
  GList* menus = gtk_container_get_children(GTK_CONTAINER(widget));
  guint index = 0;
  for (GList* m = menus; m; m = m->next, ++index)
    g_signal_emit_by_name(acc, "children-changed::add", index,
                          gtk_widget_get_accessible(GTK_WIDGET(m->data)));
  g_list_free(menus);
}

void report_window_states(wxTopLevelWindow& window) {
  GtkWidget* widget = window.GetHandle();
  if (!widget) return;
  AtkObject* acc = gtk_widget_get_accessible(widget);
  if (gtk_widget_get_mapped(widget)) atk_object_notify_state_change(acc, ATK_STATE_SHOWING, TRUE);
  if (gtk_window_is_active(GTK_WINDOW(widget)))
    atk_object_notify_state_change(acc, ATK_STATE_ACTIVE, TRUE);
}

}  // namespace orvela::ui::wx
