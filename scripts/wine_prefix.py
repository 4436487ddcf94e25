"""What the Python programs that drive Wine share: the environment of a Wine prefix of their own, and
a Linux path as Wine's programs name it."""
import os


def wine_environment(prefix):
    """This process's environment with Wine pointed at `prefix`, quiet, and without the .NET and HTML
    engines' installers that a fresh prefix would otherwise ask for."""
    return dict(os.environ, WINEPREFIX=str(prefix), WINEDEBUG="-all", WINEDLLOVERRIDES="mscoree,mshtml=")


def windows_path(path):
    """`path` on Wine's Z: drive, which maps the Linux root."""
    return "Z:" + str(path).replace("/", "\\")
