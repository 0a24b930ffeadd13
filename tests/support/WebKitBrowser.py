#!/usr/bin/python3
# MiniBrowser's part for WebKitWebDriver, with the one setting MiniBrowser takes from no command
# line: a minimum font size. Run as: WebKitBrowser.py --automation --minimum-font-size=PIXELS
import sys
import gi
gi.require_version("Gtk", "3.0")
gi.require_version("WebKit2", "4.1")
from gi.repository import Gtk, WebKit2  # noqa: E402
context = WebKit2.WebContext.get_default()
context.set_automation_allowed(True)
settings = WebKit2.Settings(minimum_font_size=int(sys.argv[-1].split("=")[1]))
def new_view(_session):
    view = WebKit2.WebView(web_context=context, is_controlled_by_automation=True, settings=settings)
    Gtk.Window(child=view).show_all()
    return view
def started(_context, session):
    info = WebKit2.ApplicationInfo()
    info.set_name("MiniBrowser")
    session.set_application_info(info)
    session.connect("create-web-view", new_view)
context.connect("automation-started", started)
Gtk.main()
