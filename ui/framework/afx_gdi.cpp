#include "ui/framework/afx_gdi.h"

#include "ui/framework/afx_window.h"

CPaintDC::CPaintDC(CWnd* window) : m_hWnd(window->m_hWnd) { m_hDC = BeginPaint(m_hWnd, &m_ps); }

CPaintDC::~CPaintDC() { EndPaint(m_hWnd, &m_ps); }
