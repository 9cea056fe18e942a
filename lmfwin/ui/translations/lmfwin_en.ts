<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="en">
<context>
    <name>FilterMessage</name>
    <message>
        <source>Internal program error</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>MPT or LOCKOUT is not a valid number</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Forward or Back is not a valid number</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>MPT cannot be greater than LOCKOUT</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Empty record</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The filter record has empty cells</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Invalid filter type or sign</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The minimum is greater than the maximum</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Not a number</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Unknown filter type</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The data file cannot be opened</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Unknown file type</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>To filter, choose
 the Filtration page</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Invalid scope of the expression</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The main filter expression is missing </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No SOURCE file given</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The source file is not on the disk</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The file cannot be filtered</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Filtration cancelled by the user</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The main filter expression names an empty window </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>An operator of the main filter expression lacks an operand</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A parenthesis of the main filter expression is not closed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The filter expression is too long</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The source file could not be renamed to its backup (.BAK).
The source file is unchanged</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Error writing the destination file</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No folder is given for the common report file.
The report was not written</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The report file cannot be opened.
The report was not written: </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The source file remains under the name </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Unknown parameter name: </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A-Line ISA files are read only and cannot be filtered</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Records joined with </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Drop ONE file!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The file type is not registered</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Too many parameters on the command line</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Filtration completed successfully.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Filtration completed.
No end-of-test record (EndOfData) was found.
Please check the source file.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The destination file name is empty or equal to the source&apos;s.
The source file will be changed.
Continue?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Quit the program?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Window </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Results :  </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Handling</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Accepted</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Deleted</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> records</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Record </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Report file &apos;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&apos; not found</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Source file name</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Destination file name</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Choose the report folder..</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The filter has been added to the database</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The filter has been overwritten</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Expression</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Parameter</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Parameter Y</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Parameter X</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Program&apos;s language will be changed at the next launch</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Error..</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Summary..</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Attention..</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Exit..</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The file is not sorted.
A sorted file is needed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>MPT must be a whole number of microseconds from 0 to 2147483647</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>LOCK must be a whole number of microseconds from 0 to 2147483647</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Forward must be a whole number of microseconds from 0 to 2147483647</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Back must be a whole number of microseconds from 0 to 2147483647</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Another run is filtering the source file.
The source file is not changed: </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The backup file already exists and is not replaced.
The source file is not changed: </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The backup file already exists:
%1
Replace it? The earlier backup will be lost.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Not a regular file; it cannot be replaced: </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The source is not a regular file: </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The folder of the post file does not exist: </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No file can be created in the folder of the post file: </source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>lmf::TFAbout</name>
    <message>
        <source>About...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Build : %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Memory Used %1</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>lmf::TFFilterBase</name>
    <message>
        <source>Filter Database</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>First</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Previous</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Next</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Last</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Delete</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Date</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Filter name</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Cancel</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Delete the filter &quot;%1&quot; (No. %2)?</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>lmf::TFProtocolView</name>
    <message>
        <source>Report File View</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save &amp;As...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Print...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>E&amp;xit</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Edit</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Copy</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Find...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Find</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Find &amp;Next</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Rich Text Format (*.rtf)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ASCII text (*.txt)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save the report file as..</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The file %1 could not be written</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>lmf::TLookUpParamDlg1</name>
    <message>
        <source>Common parameters</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>All parameters</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Parameter Lookup</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Parameter</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> System </source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>lmf::TMainForm</name>
    <message>
        <source>All files (*)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A, B, C, D: the windows; &amp; and, | or; parentheses group.
No precedence: left to right, so A|B&amp;C means (A|B)&amp;C.
Every other character is ignored.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> H&amp;ide</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> &amp;Exit</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Source</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Destination</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Filter &amp;Name:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>New filter</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>All hits</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Second hit</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Third hit</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Any hit</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Start</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;A</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;B</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;C</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;D (Correlation)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Join with &quot;AND&quot;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> Filtration-Type  </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Included</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Excluded</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> Datasets  </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>As Hits</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>As Events</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>As Mechanic</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> Events </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>MPT :</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>LOCK :</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> Mechanic </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Forward :</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Back :</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> Options  </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Delete Parametric</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Delete TR</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Smart End of Time</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Clear</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Filtration</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> Report </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Make report file</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> Report file </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Report file in each folder</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Common report file</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Report &amp;folder</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> Common  </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save work folder</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save configuration on exit</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> Filter Database </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Open</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Insert</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Update</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> Language </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>English</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Russian</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Report View</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;About</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Service</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Restore</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Exit</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Min</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Max</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&quot;%1&quot; is read as &quot;%2&quot; (ignored: %3). Run anyway?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The destination file
%1
exists already. Replace it?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The filter has no name. Type one to store it.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The filter&apos;s record has been deleted. Try the &apos;%1&apos; button.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Filter expression (the first row decides which hits are kept):
%1

Window grids: Insert adds a row, Ctrl+Delete deletes one, Shift+Up/Down move it, Ctrl+F1 in a parameter column looks a name up.
Tab leaves a grid after its last cell, Ctrl+Tab from any cell. F9 starts the run.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A filtration is running. Cancel it and exit?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A filter named &quot;%1&quot; is stored already (No. %2). Store a second filter of this name?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Filter sco&amp;pe</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>AE Data Files (%1)</source>
        <translation type="unfinished"></translation>
    </message>
</context>
</TS>
