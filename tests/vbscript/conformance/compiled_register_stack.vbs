' Calls of compiled procedures lay their registers on a shared stack: frames deeper than one
' chunk of it, parameters passed by reference into a caller's registers in an earlier chunk,
' objects released when their call ends (last register first, Class_Terminate at once, even
' when it calls procedures itself), and the depth limit leaving the stack as it was.
Dim result, i, depth

Class Noisy
  Public name
  Private Sub Class_Terminate
    WScript.Echo "bye " & name & " (" & Triangle(3, 0) & ")"
  End Sub
End Class

' Each level has a large frame; its local goes by reference to the level below, which adds to it.
Function Deep(n, ByRef acc)
  Dim v1, v2, v3, v4, v5, v6, v7, v8, v9, v10, v11, v12, v13, v14, v15, v16, v17, v18, v19, v20, v21, v22, v23, v24, v25, v26, v27, v28, v29, v30, v31, v32, v33, v34, v35, v36, v37, v38, v39, v40, v41, v42, v43, v44, v45, v46, v47, v48, v49, v50, v51, v52, v53, v54, v55, v56, v57, v58, v59, v60, v61, v62, v63, v64, v65, v66, v67, v68, v69, v70, v71, v72, v73, v74, v75, v76, v77, v78, v79, v80, v81, v82, v83, v84, v85, v86, v87, v88, v89, v90, v91, v92, v93, v94, v95, v96, v97, v98, v99, v100, v101, v102, v103, v104, v105, v106, v107, v108, v109, v110, v111, v112, v113, v114, v115, v116, v117, v118, v119, v120, v121, v122, v123, v124, v125, v126, v127, v128, v129, v130, v131, v132, v133, v134, v135, v136, v137, v138, v139, v140, v141, v142, v143, v144, v145, v146, v147, v148, v149, v150
  Dim mine
  mine = 0
  v150 = n
  If n > 0 Then Deep = Deep(n - 1, mine)
  acc = acc + mine + v150
  Deep = n
End Function

' The same in a small frame, used from a Class_Terminate.
Function Triangle(n, acc)
  If n = 0 Then
    Triangle = acc
  Else
    Triangle = Triangle(n - 1, acc + n)
  End If
End Function

result = 0
WScript.Echo "deep:", Deep(200, result), result

' Objects in a call's locals go when the call returns, the last local first.
Function MakeTwo(n)
  Dim first, second
  Set first = New Noisy
  first.name = "first " & n
  Set second = New Noisy
  second.name = "second " & n
  MakeTwo = n * 2
End Function
WScript.Echo "returned", MakeTwo(3)
WScript.Echo "again", MakeTwo(4) + MakeTwo(5)

' Past the depth limit: error 28, and the stack is usable again at full depth.
Function Forever(n)
  Dim v1, v2, v3, v4, v5, v6, v7, v8, v9, v10, v11, v12, v13, v14, v15, v16, v17, v18, v19, v20, v21, v22, v23, v24, v25, v26, v27, v28, v29, v30, v31, v32, v33, v34, v35, v36, v37, v38, v39, v40, v41, v42, v43, v44, v45, v46, v47, v48, v49, v50, v51, v52, v53, v54, v55, v56, v57, v58, v59, v60, v61, v62, v63, v64, v65, v66, v67, v68, v69, v70, v71, v72, v73, v74, v75, v76, v77, v78, v79, v80, v81, v82, v83, v84, v85, v86, v87, v88, v89, v90, v91, v92, v93, v94, v95, v96, v97, v98, v99, v100, v101, v102, v103, v104, v105, v106, v107, v108, v109, v110, v111, v112, v113, v114, v115, v116, v117, v118, v119, v120, v121, v122, v123, v124, v125, v126, v127, v128, v129, v130, v131, v132, v133, v134, v135, v136, v137, v138, v139, v140, v141, v142, v143, v144, v145, v146, v147, v148, v149, v150
  v1 = n
  Forever = Forever(n + 1)
End Function
On Error Resume Next
depth = Forever(1)
WScript.Echo "limit:", Err.Number
Err.Clear
On Error GoTo 0
For i = 1 To 2
  result = 0
  WScript.Echo "deep after the limit:", Deep(300, result), result
Next
