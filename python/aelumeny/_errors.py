"""Exception classes of the aelumeny package."""

import errno as _errno


class Error(Exception):
    """Base class of every error the aelumeny package raises."""


class FileError(Error, OSError):
    """A data file that cannot be opened or read.

    An ``OSError``: ``errno``, ``strerror`` (the library's message, e.g.
    "Data file doesn't exist") and ``filename`` are set.
    """


class FileNotFound(FileError, FileNotFoundError):
    """The data file does not exist (``errno.ENOENT``)."""


class FilePermissionError(FileError, PermissionError):
    """The data file may not be read (``errno.EACCES``)."""


class IsADirectory(FileError, IsADirectoryError):
    """The path names a folder (``errno.EISDIR``)."""


class FormatError(Error, ValueError):
    """A file that is not a data file of a known format, or whose content cannot be loaded.

    ``str()`` is the library's message ("Unknown data type..", "File Loading Error", ...);
    ``filename`` names the file.
    """

    def __init__(self, message, filename=None):
        super().__init__(message)
        self.message = message
        self.filename = filename

    def __str__(self):
        return self.message if self.filename is None else f"{self.filename}: {self.message}"


class FilterError(Error):
    """A filtration that was refused or failed; nothing was written then.

    ``str()`` is the post-filter's message; ``message_id`` its number (0 for faults of the
    filter file or of the database).
    """

    def __init__(self, message, message_id=0):
        super().__init__(message)
        self.message = message
        self.message_id = message_id


_FILE_ERRORS = {_errno.ENOENT: FileNotFound, _errno.EACCES: FilePermissionError, _errno.EPERM: FilePermissionError,
               _errno.EISDIR: IsADirectory}


def file_error(error, message, filename):
    """The FileError (subclass chosen by errno) for a file that could not be opened."""
    return _FILE_ERRORS.get(error, FileError)(error, message, filename)
