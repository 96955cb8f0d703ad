"""Writing the build's generated files."""


def write_if_changed(path, data):
    """Writes bytes `data` to `path` unless the file holds them already, so
    that what depends on it is not rebuilt for nothing."""
    try:
        with open(path, "rb") as f:
            if f.read() == data:
                return
    except OSError:
        pass
    with open(path, "wb") as f:
        f.write(data)
