-- String building with .. (the same pieces, one new string per step as in the script).
local s = ""
for i = 1, 20000 do
  s = s .. "item" .. (i % 10) .. ","
end
print(#s)
