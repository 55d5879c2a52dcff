#pragma once

#include "printer_canvas.h"
#include "recorded_pages.h"

#include <exception>
#include <thread>

namespace fb {

struct Logbook;

// Lays a logbook's printout out into recorded pages in a thread of its own, measuring on the
// canvas given, while another thread shows or draws the pages completed so far: measuring and
// shaping every text is most of a large logbook's layout. The canvas lets go of its fonts in
// that thread, which made them. Going, it ends the layout at its next page and waits for the
// thread, so that neither the logbook nor the canvas is used beyond it.
class PageLayoutThread {
public:
    PageLayoutThread(const Logbook &logbook, PrinterCanvas &layoutCanvas);
    ~PageLayoutThread();
    PageLayoutThread(const PageLayoutThread &) = delete;
    PageLayoutThread &operator=(const PageLayoutThread &) = delete;

    RecordedPages &pages() { return m_pages; }
    // Waits for the first page; throws what ended the layout when it ended without one (a
    // text that does not convert is found before it).
    void waitForFirstPage();
    // Ends the layout at its next page and waits for the thread: the canvas's device is then
    // the caller's alone.
    void stop();
    // Waits for the layout's end; throws what ended it early.
    void finish();

private:
    void layOut(const Logbook &logbook);

    PrinterCanvas &m_canvas;
    RecordedPages m_pages;
    // Set by the thread before it ends.
    std::exception_ptr m_failure;
    std::thread m_thread;
};

} // namespace fb
