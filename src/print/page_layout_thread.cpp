#include "page_layout_thread.h"

#include "core/error.h"
#include "logbook_printer.h"

namespace fb {

PageLayoutThread::PageLayoutThread(const Logbook &logbook, PrinterCanvas &layoutCanvas)
    : m_canvas(layoutCanvas), m_pages(layoutCanvas), m_thread([this, &logbook] { layOut(logbook); })
{}

PageLayoutThread::~PageLayoutThread()
{
    stop();
}

void PageLayoutThread::waitForFirstPage()
{
    if (m_pages.waitForFirstPage())
        return;
    finish();
    throw Error(QStringLiteral("Der Druckauftrag konnte nicht begonnen werden"));
}

void PageLayoutThread::stop()
{
    m_pages.stop();
    if (m_thread.joinable())
        m_thread.join();
}

void PageLayoutThread::finish()
{
    if (m_thread.joinable())
        m_thread.join();
    if (m_failure)
        std::rethrow_exception(m_failure);
}

void PageLayoutThread::layOut(const Logbook &logbook)
{
    try {
        printLogbook(logbook, m_pages);
    } catch (const RecordedPages::Stopped &) {
    } catch (...) {
        m_failure = std::current_exception();
        m_pages.abortJob();
    }
    m_canvas.forgetFonts();
}

} // namespace fb
